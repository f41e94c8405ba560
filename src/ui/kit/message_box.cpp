#include "ui/kit/message_box.h"

#include "ui/kit/qtext.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zorvia::ui {

TMessageBox::TMessageBox(QWidget* owner, const QString& text, const QString& caption, Icon icon)
    : QDialog(owner) {
    setObjectName("TMessageBox");
    setWindowTitle(caption);
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* row = new QHBoxLayout;
    row->setSpacing(14);
    if (icon == Icon::Error) {
        auto* picture = new QLabel(this);
        picture->setObjectName("Icon");
        picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
        picture->setAlignment(Qt::AlignTop);
        row->addWidget(picture);
    }
    text_ = new QLabel(text, this);
    text_->setObjectName("Text");
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(false);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_->setMinimumWidth(120);
    row->addWidget(text_, 1, Qt::AlignVCenter);

    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setObjectName("OK");
    ok_->setDefault(true);
    ok_->setFixedSize(75, 25);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 12);
    column->setSpacing(16);
    column->addLayout(row);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QString TMessageBox::text() const {
    return text_->text();
}

void showMessage(QWidget* owner, const AnsiString& text) {
    TMessageBox box(owner, toQ(text), QStringLiteral("提示"), TMessageBox::Icon::None);
    box.exec();
}

} // namespace zorvia::ui
