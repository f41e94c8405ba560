#include "ui/kit/message_box.h"

#include "ui/kit/qtext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace zorvia::ui {

namespace {

// Room the box needs around its text: margins, the icon and its spacing,
// the window frame.
constexpr int kChromeWidth = 18 + 18 + 32 + 14 + 16;
constexpr int kChromeHeight = 18 + 16 + 25 + 12 + 40;

QRect screenArea(const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

QString wrapToWidth(const QString& text, const QFont& font, int width, int maxLines) {
    const QFontMetrics metrics(font);
    QStringList out;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        // Names without spaces (long file names) are cut anywhere.
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            out << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            out << QString();
    }
    if (maxLines > 0 && out.size() > maxLines) {
        out.resize(maxLines);
        out.last() = metrics.elidedText(out.last() + QStringLiteral("……"), Qt::ElideRight, width);
    }
    return out.join(QLatin1Char('\n'));
}

TMessageBox::TMessageBox(QWidget* owner, const QString& text, const QString& caption, Icon icon)
    : QDialog(owner), fullText_(text) {
    setObjectName("TMessageBox");
    // The skin engine frames it as a message box.
    setProperty("WindowClass", QStringLiteral("TMessageForm"));
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
    // The box never grows wider than the screen: the text wraps at half its
    // width, and stops short of its height so that OK stays on screen.
    const QRect area = screenArea(owner);
    const int width = std::max(120, std::min(area.width() / 2, area.width() - kChromeWidth));
    const int lines =
        std::max(1, (area.height() - kChromeHeight) / QFontMetrics(font()).lineSpacing());
    text_ = new QLabel(wrapToWidth(text, font(), width, lines), this);
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
    return fullText_;
}

namespace {
int transfersRunning = 0;
} // namespace

TransferRunning::TransferRunning() {
    ++transfersRunning;
}

TransferRunning::~TransferRunning() {
    --transfersRunning;
}

bool transferRunning() {
    return transfersRunning > 0;
}

void showModal(TMessageBox* box) {
    if (transferRunning()) {
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    const QPointer<TMessageBox> alive(box); // its owner may go meanwhile, and the box with it
    box->exec();
    delete alive.data();
}

void showMessage(QWidget* owner, const AnsiString& text) {
    showModal(new TMessageBox(owner, toQ(text), QStringLiteral("提示"), TMessageBox::Icon::None));
}

} // namespace zorvia::ui
