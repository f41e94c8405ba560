#include "ui/confirm/form3.h"

#include "ui/kit/ui_font.h"
#include "ui/main/globals.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace zorvia {

TForm3::TForm3(QWidget* owner) : QDialog(owner) {
    setObjectName("Form3");
    setWindowTitle(QStringLiteral("提示"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // Closing the dialog while the main window is hidden must not end the
    // program on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(ui::uiFont());
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }

    Label1 = new QLabel(QStringLiteral("退出程序还是最小化到托盘？"), this);
    Label1->setObjectName("Label1");
    QFont bold = font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setGeometry(24, 24, 209, 17);

    Button1 = new QPushButton(QStringLiteral("最小化到托盘"), this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(128, 64, 85, 25);
    Button1->setDefault(true);

    Button2 = new QPushButton(QStringLiteral("退出程序"), this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(24, 64, 85, 25);

    QWidget::setTabOrder(Button1, Button2);
    Button1->setFocus(Qt::OtherFocusReason);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(Button2); });
}

TForm3::~TForm3() {
    if (Form3 == this)
        Form3 = nullptr;
}

void TForm3::Button1Click(QObject*) {
    done(kResultMinimize);
}

void TForm3::Button2Click(QObject*) {
    done(kResultExit);
}

void TForm3::reject() {
    done(kResultClosed);
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace zorvia
