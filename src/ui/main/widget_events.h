#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace zorvia::ui {

// A click on a widget that has no click signal of its own (a label): the
// left button pressed on it and released over it. Owned by the widget.
class ClickFilter : public QObject {
    Q_OBJECT
public:
    ClickFilter(QWidget* widget, std::function<void()> onClick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget_;
    std::function<void()> onClick_;
    bool pressed_ = false;
};

// The widget receiving the input focus. Owned by the widget.
class FocusInFilter : public QObject {
    Q_OBJECT
public:
    FocusInFilter(QWidget* widget, std::function<void()> onFocusIn);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget_;
    std::function<void()> onFocusIn_;
};

} // namespace zorvia::ui
