// The accordion of the three game lists and the collapsible left column.
#include "ui/kit/guarded.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"

#include <QFrame>
#include <QPushButton>

namespace zorvia {

namespace {
int bottomOf(const QWidget* w) {
    return w->y() + w->height();
}
void setTop(QWidget* w, int top) {
    w->move(w->x(), top);
}
} // namespace

void TForm1::wireAccordion() {
    connect(Button1, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button1Click(Button1); }));
    connect(Button2, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button2Click(Button2); }));
    connect(Button3, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button3Click(Button3); }));
    connect(Button_hide, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button_hideClick(Button_hide); }));
}

void TForm1::Button1Click(QObject*) {
    PageControl1->setActivePage(TabSheet1);
    setTop(PageControl1, bottomOf(Button1));
    setTop(Button2, bottomOf(PageControl1));
    setTop(Button3, bottomOf(Button2));
}

void TForm1::Button2Click(QObject*) {
    PageControl1->setActivePage(TabSheet2);
    setTop(Button2, bottomOf(Button1));
    setTop(PageControl1, bottomOf(Button2));
    setTop(Button3, bottomOf(PageControl1));
}

void TForm1::Button3Click(QObject*) {
    PageControl1->setActivePage(TabSheet3);
    setTop(Button2, bottomOf(Button1));
    setTop(Button3, bottomOf(Button2));
    setTop(PageControl1, bottomOf(Button3));
}

void TForm1::Button_hideClick(QObject*) {
    const int w = Panel_left->width() + 1;
    if (Panel_left->isVisibleTo(this)) {
        Panel_left->hide();
        Button_hide->setText(QStringLiteral("打开左栏"));
        Panel_main->move(0, Panel_main->y());
        Panel_main->resize(Panel_main->width() + w, Panel_main->height());
    } else {
        Panel_left->show();
        Button_hide->setText(QStringLiteral("收起左栏"));
        Panel_main->resize(Panel_main->width() - w, Panel_main->height());
        Panel_main->move(w, Panel_main->y());
    }
}

} // namespace zorvia
