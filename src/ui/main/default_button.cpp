#include "ui/main/default_button.h"

#include "browser/web_browser.h"

#include <QKeyEvent>
#include <QPushButton>

namespace zorvia::ui {

namespace {

bool insideBrowser(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (qobject_cast<const TWebBrowser*>(widget))
            return true;
    return false;
}

bool canPress(const QPushButton* button, const QWidget* window) {
    return button && button->isEnabled() && button->isVisibleTo(window);
}

} // namespace

DefaultButtonFilter::DefaultButtonFilter(QWidget* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
}

bool DefaultButtonFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    QWidget* focus = window_->focusWidget();
    if (insideBrowser(focus))
        return false;

    QPushButton* target = nullptr;
    if (auto* focused = qobject_cast<QPushButton*>(focus); canPress(focused, window_)) {
        target = focused;
    } else {
        const auto buttons = window_->findChildren<QPushButton*>();
        for (QPushButton* button : buttons) {
            if (button->isDefault() && canPress(button, window_)) {
                target = button;
                break;
            }
        }
    }
    if (!target)
        return false;
    target->click();
    return true;
}

} // namespace zorvia::ui
