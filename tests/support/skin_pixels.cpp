#include "support/skin_pixels.h"

#include "skin/frame_widget.h"
#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/skin_manage.h"
#include "skin/win_skin_form.h"

#include <QImage>
#include <QTest>
#include <QWidget>

namespace zorvia::test {

TWinSkinForm* skinnerOf(QWidget* window) {
    TSkinManage* manager = TSkinManage::instance();
    return manager ? manager->FindSkinnedWindow(window) : nullptr;
}

bool waitSkinned(QWidget* window) {
    return QTest::qWaitFor(
        [window] { return skinnerOf(window) && skinnerOf(window)->controlsSkinned(); }, 10000);
}

int framePixelsOffTheModel(QWidget* window, int& compared) {
    const TWinSkinForm* form = skinnerOf(window);
    const skin::SkinModel& model = form->data().Model();
    const skin::FrameMetrics m = form->metrics();
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int state = window->isActiveWindow() ? 1 : 2;
    const auto* frame =
        window->findChild<skin::TSkinFrame*>("SkinFrame", Qt::FindDirectChildrenOnly);
    const auto& caption = frame->caption();
    auto excluded = [&](QPoint p) {
        if (caption.textBack.adjusted(0, 0, 8, 0).contains(p))
            return true;
        for (const auto& b : caption.buttons)
            if (b.rect.contains(p))
                return true;
        return false;
    };
    struct Part {
        const TDataSkinObject& object;
        QRect rect;
        bool vertical;
    };
    const Part parts[] = {{model.Top, {0, 0, shot.width(), m.top}, true},
                          {model.Left, {0, m.top, m.left, shot.height() - m.top}, false}};
    int off = 0;
    compared = 0;
    for (const Part& part : parts) {
        const QRect whole = part.vertical ? part.rect : QRect(0, 0, m.left, shot.height());
        const QImage expected =
            skin::composeSkinImage(whole.size(), part.object.Image, part.vertical, part.object.Tile,
                                   part.object.Frame, state, skin::SkinMargins::of(part.object));
        for (int y = part.rect.top(); y <= part.rect.bottom(); ++y)
            for (int x = part.rect.left(); x <= part.rect.right(); ++x) {
                const QRgb want = expected.pixel(x - whole.left(), y - whole.top());
                if (skin::isKey(want) || excluded({x, y}))
                    continue;
                ++compared;
                if ((shot.pixel(x, y) & 0xFFFFFF) != (want & 0xFFFFFF))
                    ++off;
            }
    }
    return off;
}

} // namespace zorvia::test
