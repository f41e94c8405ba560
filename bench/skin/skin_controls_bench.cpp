// Prints the paint time of the control skinners with the game box's skin:
// a push button, the browser tab strip with 10 tabs and a list's vertical
// scroll bar, each painted into an image (best of several rounds, time per
// paint). Runs without a display (offscreen platform) and ends by itself.
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/skin_tab.h"
#include "skin/skin_data.h"
#include "skin/stored_skin.h"
#include "ui/kit/page_control.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace zorvia;

namespace {

using Clock = std::chrono::steady_clock;

// Best of `rounds` rounds of `paints` calls, in microseconds per call.
double bestUs(int rounds, int paints, const std::function<void()>& paint) {
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < paints; ++i)
            paint();
        const std::chrono::duration<double, std::micro> spent = Clock::now() - start;
        best = std::min(best, spent.count() / paints);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    TSkinData data;
    data.ReadSkinStream(skin::storedSkinStream());

    QWidget window;
    window.resize(994, 595);

    auto* button = new QPushButton(QStringLiteral("下载本游戏"), &window);
    button->setGeometry(10, 10, 75, 25);
    auto* buttonSkin = new TSkinButton(button, data);

    auto* tabs = new ui::TPageControl(&window);
    tabs->setTabWidth(120);
    tabs->setGeometry(4, 41, 810, 522);
    for (int i = 0; i < 10; ++i) {
        auto* sheet = new ui::TTabSheet(tabs);
        sheet->setCaption(QStringLiteral("Zorvia小游戏 第%1页").arg(i + 1));
        tabs->addPage(sheet);
    }
    auto* tabSkin = new TSkinTab(tabs, data);

    auto* list = new QListWidget(&window);
    list->setGeometry(820, 41, 153, 281);
    for (int i = 0; i < 300; ++i)
        list->addItem(QStringLiteral("在线Flash游戏 %1").arg(i));
    auto* listSkin = new TSkinScrollbar(list, data);
    window.show();
    QApplication::processEvents();
    QScrollBar* bar = list->verticalScrollBar();
    bar->setValue(bar->maximum() / 3);

    QImage buttonImage(button->size(), QImage::Format_RGB32);
    const double buttonUs = bestUs(7, 2000, [&] {
        QPainter p(&buttonImage);
        buttonSkin->paint(p);
    });
    const double stripUs = bestUs(7, 300, [&] { (void)tabSkin->composeStrip(); });
    QImage barImage(bar->size(), QImage::Format_RGB32);
    const double barUs = bestUs(7, 2000, [&] {
        QPainter p(&barImage);
        listSkin->paintBar(p, bar);
    });

    std::printf("control skinners, paint time per paint (best of 7 rounds):\n");
    std::printf("  push button %d x %d:                 %8.1f us\n", button->width(),
                button->height(), buttonUs);
    std::printf("  tab strip, 10 tabs, %d px wide:     %8.1f us\n", tabs->width(), stripUs);
    std::printf("  list scroll bar %d x %d:            %8.1f us\n", bar->width(), bar->height(),
                barUs);
    return 0;
}
