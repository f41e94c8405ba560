#pragma once

#include <QObject>

class QWidget;

namespace zorvia::ui {

// Gives a plain window the default button of a dialog: Enter (or the
// keypad's Enter) that no control of the window took presses the push
// button that has the focus, or else the window's default button
// (QPushButton::isDefault) when it is enabled and shown. Keys typed into a
// web page are the page's own and never press a button. Owned by the window.
class DefaultButtonFilter : public QObject {
    Q_OBJECT
public:
    explicit DefaultButtonFilter(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
};

} // namespace zorvia::ui
