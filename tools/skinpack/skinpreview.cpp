// skinpreview: draws a sample window with a skin into a PNG file, so that skin
// authors can look at a skin the way the game box paints it.
//   skinpreview <out.png> [skin file]   (default: the game box's own skin)
#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/stored_skin.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <fstream>
#include <iterator>

using namespace zorvia;
using namespace zorvia::skin;

namespace {

void text(QPainter& p, const QRect& r, const QString& s, const QColor& c, int px,
          Qt::Alignment align = Qt::AlignCenter) {
    QFont f = p.font();
    f.setPixelSize(px);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, align, s);
}

void window(QImage& image, const SkinModel& m, const QRect& at, bool active, const QString& title) {
    QPainter p(&image);
    const int state = active ? 1 : 2;
    const int w = at.width(), h = at.height();
    const int left = m.Left.Image.width() / m.Left.Frame;
    const int right = m.Right.Image.width() / m.Right.Frame;
    const int caption = m.Top.Image.height() / m.Top.Frame;
    const int bottom = m.Bottom.Image.height() / m.Bottom.Frame;
    p.fillRect(at.adjusted(left, caption, -right, -bottom), m.qcolour(SlotButtonFace));
    DrawSkinObject(p, QRect(at.x(), at.y(), left, h), m.Left, state);
    DrawSkinObject(p, QRect(at.right() + 1 - right, at.y(), right, h), m.Right, state);
    DrawSkinObject(p, QRect(at.x() + left, at.bottom() + 1 - bottom, w - left - right, bottom),
                   m.Bottom, state, true);
    DrawSkinObject(p, QRect(at.x(), at.y(), w, caption), m.Top, state, true);
    p.fillRect(QRect(at.x() + 9, at.y() + 7, 16, 16), QColor(255, 138, 0));
    text(p,
         QRect(at.x() + m.Title.LeftWidth, at.y(), w - m.Title.LeftWidth - m.Title.RightWidth,
               caption),
         title, m.qcolour(active ? SlotTitleTextActive : SlotTitleTextNoActive), m.Title.FontHeight,
         Qt::AlignVCenter | Qt::AlignLeft);
    for (const auto& b : m.CaptionButtons) {
        if (b.Image.isNull() || b.Align != 1 || b.Visibility == 1)
            continue;
        const int bw = b.Image.width() / b.Frame;
        const bool hot = active && b.Action == 0;
        DrawSkinImage(p, QRect(at.x() + w - b.XCoord, at.y() + b.YCoord, bw, b.Image.height()),
                      b.Image, false, false, true, b.Frame, hot ? 3 : 1, {});
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: skinpreview <out.png> [skin file]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TSkinData data;
    if (argc == 3) {
        data.SetSkinFile(argv[2]);
    } else {
        const auto stored = storedSkin();
        data.SetStoredSkin({stored.begin(), stored.end()});
        data.LoadSkinStore();
    }
    if (!data.SkinLoaded()) {
        std::fprintf(stderr, "skinpreview: the skin did not load\n");
        return 1;
    }
    const SkinModel& m = data.Model();

    QImage image(640, 470, QImage::Format_RGB32);
    image.fill(QColor(90, 100, 120));
    window(image, m, QRect(10, 10, 620, 380), true,
           QStringLiteral("Zorvia游戏盒子 - 在线Flash游戏"));
    window(image, m, QRect(10, 400, 620, 60), false, QStringLiteral("下载游戏 (不活动的窗口)"));

    QPainter p(&image);
    const QColor textColour = m.qcolour(SlotButtonText);
    // Tab strip and pane.
    const QRect pane(24, 76, 400, 150);
    if (m.Tabs) {
        DrawSkinImage(p, pane.adjusted(-4, -5, 4, 4), m.Tabs->Image2, false, false, false, 1, 1,
                      {4, 5, 4, 4});
        const QString names[] = {QStringLiteral("首页"), QStringLiteral("在线Flash游戏"),
                                 QStringLiteral("本地Flash游戏")};
        int x = 22;
        for (int i = 0; i < 3; ++i) {
            const QRect tab(x, 48, i == 0 ? 70 : 120, 26);
            DrawSkinObject(p, tab, *m.Tabs, i == 1 ? 2 : 1);
            text(p, tab.adjusted(0, 2, 0, 0), names[i],
                 m.System.toQColor(i == 1 ? m.Tabs->MouseOverColour2 : m.Tabs->NormalColour2), 13);
            x += tab.width();
        }
    }
    // A list with a vertical scroll bar.
    const QRect list(36, 90, 200, 120);
    p.fillRect(list, Qt::white);
    for (int i = 0; i < 6; ++i)
        text(p, QRect(list.x() + 6, list.y() + 2 + i * 19, 170, 19),
             QStringLiteral("休闲益智小游戏 %1").arg(i + 1),
             i == 2 ? m.qcolour(SlotHilightText) : textColour, 13,
             Qt::AlignVCenter | Qt::AlignLeft);
    if (m.VertScroll && m.Scrollbar && m.VertScrollThumb) {
        const int a = 17, x = list.right() - a + 1;
        DrawSkinObject(p, QRect(x, list.y() + a, a, list.height() - 2 * a), *m.VertScroll, 1);
        DrawSkinObject(p, QRect(x, list.y(), a, a), *m.Scrollbar, 9);
        DrawSkinObject(p, QRect(x, list.bottom() + 1 - a, a, a), *m.Scrollbar, 13);
        const QRect thumb(x, list.y() + a + 10, a, 40);
        DrawSkinObject(p, thumb, *m.VertScrollThumb, 1);
        DrawSkinImageCentred(p, thumb, m.Scrollbar->Image, false, true, 23, 20);
    }
    // Combo box.
    if (m.ComboButton) {
        DrawSkinObject(p, QRect(250, 92, 160, 24), *m.ComboButton, 1);
        text(p, QRect(256, 92, 120, 24), QStringLiteral("全部分类"), textColour, 13,
             Qt::AlignVCenter | Qt::AlignLeft);
        DrawSkinObject(p, QRect(250, 124, 160, 24), *m.ComboButton, 3);
        text(p, QRect(256, 124, 120, 24), QStringLiteral("动作冒险"), textColour, 13,
             Qt::AlignVCenter | Qt::AlignLeft);
    }
    // Push buttons in their five states.
    const QString captions[] = {QStringLiteral("确定"), QStringLiteral("按下"),
                                QStringLiteral("禁用"), QStringLiteral("悬停"),
                                QStringLiteral("默认按钮")};
    for (int i = 0; i < 5; ++i) {
        const QRect r(30 + i * 84, 240, 76, 26);
        DrawSkinObject(p, r, m.Buttons, i + 1);
        text(p, r.adjusted(0, -1, 0, -1), captions[i],
             i == 2 ? m.qcolour(SlotButtonShadow) : textColour, 13);
    }
    // Progress bar.
    if (m.Progress) {
        const QRect r(30, 290, 400, 16);
        DrawSkinObject(p, r, *m.Progress, 1);
        DrawSkinObject(p, QRect(r.x(), r.y(), 250, r.height()), *m.Progress, 2);
        text(p, QRect(30, 310, 400, 20), QStringLiteral("正在下载: 62%"), textColour, 13,
             Qt::AlignLeft | Qt::AlignVCenter);
    }
    // Group box label, toolbar gradient, combo arrow.
    if (m.GroupBox)
        DrawSkinObject(p, QRect(450, 240, 150, 22), *m.GroupBox, 1);
    text(p, QRect(450, 240, 150, 22), QStringLiteral("我收藏的游戏"), textColour, 13);
    p.drawImage(QRect(450, 90, 160, 40), m.Toolbar.Image);
    p.drawImage(450, 140, m.ComboxArrow.Image);
    p.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "skinpreview: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
