#include "browser/crash_notice.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvia::browser {

const QString CrashNotice::kMessage =
    QStringLiteral("此页面的进程意外结束，页面和其中的游戏已停止。点击“重新加载”再次打开。");
const QString CrashNotice::kReload = QStringLiteral("重新加载");

CrashNotice::CrashNotice(QWidget* parent, std::function<void()> reload)
    : QFrame(parent), message_(new QLabel(kMessage, this)),
      reload_(new QPushButton(kReload, this)) {
    setObjectName(QStringLiteral("CrashNotice"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    reload_->setObjectName(QStringLiteral("CrashNoticeReload"));
    connect(reload_, &QPushButton::clicked, this, [reload = std::move(reload)] { reload(); });
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(message_);
    layout->addWidget(reload_, 0, Qt::AlignHCenter);
    layout->addStretch();
    setGeometry(parent->rect());
    parent->installEventFilter(this);
}

bool CrashNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QFrame::eventFilter(watched, event);
}

} // namespace zorvia::browser
