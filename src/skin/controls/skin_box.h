#pragma once

#include "skin/controls/skin_painted.h"

#include <QFrame>

namespace zorvia {

namespace skin {
// The raised or sunken edge of a panel in the ButtonHilight and ButtonShadow
// colour slots; nothing for a panel without a frame.
void paintBox(QPainter& p, QFrame& panel, const TSkinData& data);
} // namespace skin

// A panel in the skin's colours: the ButtonFace colour slot as its
// background (a kind 1 skinner) and its edge from skin::paintBox.
using TSkinBox = TSkinPainted<QFrame, 1, &skin::paintBox>;

// A page of a page control painted in the colour of the skin's page area,
// so that it sits seamlessly inside the pane the tab skinner draws. Owned by
// the page.
class TSkinTabSheet : public TSkinControl {
    Q_OBJECT
public:
    TSkinTabSheet(QWidget* sheet, TSkinData& data, TWinSkinForm* form = nullptr);
    ~TSkinTabSheet() override;

    // Gives the page its own colours back.
    void Detach() override;

protected:
    void ApplyFaceColour() override;

private:
    void paintPane();
    void restore();

    QPalette savedPalette_;
    bool savedAutoFill_ = false;
    bool restored_ = false;
};

} // namespace zorvia
