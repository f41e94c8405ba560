// Prints, in ms (best of several rounds): attaching a frame skinner to a
// window laid out like the main window (994 x 595 client, 40 controls),
// skinning that window's controls through the control mapping, and painting
// the skinned main window's frame (1002 x 629). Runs without a display
// (offscreen platform) and ends by itself.
#include "skin/frame_widget.h"
#include "skin/skin_data.h"
#include "skin/skin_manage.h"
#include "skin/stored_skin.h"
#include "skin/win_skin_form.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace zorvia;

namespace {

using Clock = std::chrono::steady_clock;

double msOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A window with the main window's kinds of controls.
void fill(QWidget& window) {
    window.resize(994, 595);
    for (int p = 0; p < 4; ++p) {
        auto* panel = new QFrame(&window);
        panel->setObjectName(QStringLiteral("Panel%1").arg(p));
        panel->setGeometry(p * 248, 0, 240, 560);
        for (int b = 0; b < 6; ++b) {
            auto* button = new QPushButton(QStringLiteral("按钮"), panel);
            button->setObjectName(QStringLiteral("Button%1_%2").arg(p).arg(b));
            button->setGeometry(5, 5 + b * 30, 75, 25);
        }
        auto* list = new QListWidget(panel);
        list->setObjectName(QStringLiteral("ListBox%1").arg(p));
        list->setGeometry(5, 200, 200, 300);
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QStringLiteral("Edit%1").arg(p));
        edit->setGeometry(5, 510, 200, 21);
    }
    auto* view = new QTreeWidget(&window);
    view->setObjectName("ListView1");
    view->setGeometry(0, 565, 994, 30);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    TSkinData data;
    data.SetActive(true);
    data.ReadSkinStream(skin::storedSkinStream());
    data.Loaded();
    TSkinManage& manager = *TSkinManage::instance();

    constexpr int rounds = 20;
    double attach = 1e300, controls = 1e300;
    for (int r = 0; r < rounds; ++r) {
        QWidget window;
        window.setWindowTitle(QStringLiteral("Zorvia游戏盒子"));
        fill(window);
        attach = std::min(attach, msOf([&] { manager.SkinWindow(&window); }));
        TWinSkinForm* form = manager.FindSkinnedWindow(&window);
        if (!form) {
            std::fprintf(stderr, "the window was not skinned\n");
            return 1;
        }
        controls = std::min(controls, msOf([&] { form->SkinFormControls(&window); }));
        if (r == rounds - 1) {
            // The frame of the main window, painted into an image.
            const skin::TSkinFrame* frame = form->frame();
            QImage target(window.size(), QImage::Format_RGB32);
            skin::FramePaint f;
            f.model = &data.Model();
            f.metrics = form->metrics();
            f.size = window.size();
            f.text = window.windowTitle();
            f.font = data.TitleFont();
            f.caption = &frame->caption();
            f.states.assign(frame->caption().buttons.size(), skin::StateNormal);
            f.icon = data.CaptionIcon();
            double paint = 1e300;
            for (int i = 0; i < rounds; ++i)
                paint = std::min(paint, msOf([&] {
                                     QPainter p(&target);
                                     skin::paintFrame(p, f);
                                 }));
            std::printf("window %dx%d, client 994x595, 40 controls\n", window.width(),
                        window.height());
            std::printf("attach a frame skinner:      %8.3f ms\n", attach);
            std::printf("skin the window's controls:  %8.3f ms\n", controls);
            std::printf("paint the main window frame: %8.3f ms\n", paint);
        }
        // The window goes; its frame skinner is dropped at the next attach.
    }
    return 0;
}
