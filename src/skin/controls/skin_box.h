#pragma once

#include "skin/skin_control.h"

#include <QPointer>

class QFrame;
class QWidget;

namespace zorvia {

// A panel in the skin's colours: the ButtonFace colour slot as its
// background (a kind 1 skinner) and its raised or sunken edge in the
// ButtonHilight and ButtonShadow slots. Owned by the panel.
class TSkinBox : public TSkinControl {
    Q_OBJECT
public:
    TSkinBox(QFrame* panel, TSkinData& data, TWinSkinForm* form = nullptr);

protected:
    bool beforeEvent(QEvent* event) override;

private:
    QPointer<QFrame> panel_;
};

// A page of a page control painted in the colour of the skin's page area,
// so that it sits seamlessly inside the pane the tab skinner draws. Owned by
// the page.
class TSkinTabSheet : public TSkinControl {
    Q_OBJECT
public:
    TSkinTabSheet(QWidget* sheet, TSkinData& data, TWinSkinForm* form = nullptr);
};

} // namespace zorvia
