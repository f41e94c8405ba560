#include "support/modal.h"

#include "ui/kit/message_box.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

ModalCloser::ModalCloser() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
}

ModalCloser::~ModalCloser() {
    timer_.stop();
}

QStringList ModalCloser::texts() const {
    QStringList out;
    for (const auto& s : seen_)
        out << s.text;
    return out;
}

void ModalCloser::poll() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<zorvia::ui::TMessageBox*>(w);
        if (box == nullptr || !box->isVisible())
            continue;
        seen_.append({box->windowTitle(), box->text(), box->findChild<QLabel*>("Icon") != nullptr});
        box->okButton()->click();
    }
}
