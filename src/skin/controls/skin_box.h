#pragma once

#include <QObject>
#include <QPointer>

class QFrame;
class QWidget;

namespace zorvia {

class TSkinData;

// A panel in the skin's colours: the ButtonFace colour slot as its
// background and its raised or sunken edge in the ButtonHilight and
// ButtonShadow slots. Owned by the panel.
class TSkinBox : public QObject {
    Q_OBJECT
public:
    TSkinBox(QFrame* panel, const TSkinData& data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QFrame> panel_;
    const TSkinData& data_;
};

// A page of a page control painted in the colour of the skin's page area,
// so that it sits seamlessly inside the pane the tab skinner draws. Owned by
// the page.
class TSkinTabSheet : public QObject {
    Q_OBJECT
public:
    TSkinTabSheet(QWidget* sheet, const TSkinData& data);
};

} // namespace zorvia
