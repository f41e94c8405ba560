#include "skin/frame_layout.h"

#include <QFontMetrics>

#include <algorithm>

namespace zorvia::skin {

namespace {

int perState(int length, int frame) {
    return length / std::max(frame, 1);
}

// One column of the visibility table.
bool passes(int code, bool first, const WindowTraits& w) {
    const bool box = w.minimiseBox || w.maximiseBox;
    switch (code) {
    case -1:
        return first;
    case 0:
        return true;
    case 1:
        return w.maximised;
    case 2:
        return !w.maximised;
    case 3:
        return w.active;
    case 4:
        return !w.active;
    case 6:
    case 8:
        return first ? box && w.systemMenu : box;
    case 7:
        return !w.maximiseBox;
    case 9:
        return !w.minimiseBox;
    case 10:
        return first ? w.help && !box : w.help;
    case 200:
        return first && w.dialogFrame && !w.messageDialog;
    default:
        // 100 needs a skinned menu bar, which these windows do not have;
        // 1000 to 2000 ask the window, and none of ours answers.
        return first && code >= 201 && code <= 999;
    }
}

bool isIconAction(int action) {
    return action == 3 || action == 11;
}

QSize buttonSize(const TDataSkinSysButton& b, QSize icon) {
    if (isIconAction(b.Action) && b.Image.isNull())
        return icon;
    return {perState(b.Image.width(), b.Frame), b.Image.height()};
}

} // namespace

FrameMetrics frameMetrics(const SkinModel& m, bool hasCaption) {
    if (!hasCaption)
        return {};
    return {perState(m.Left.Image.width(), m.Left.Frame),
            perState(m.Top.Image.height(), m.Top.Frame),
            perState(m.Right.Image.width(), m.Right.Frame),
            perState(m.Bottom.Image.height(), m.Bottom.Frame)};
}

bool captionButtonShown(const TDataSkinSysButton& b, const WindowTraits& w) {
    if (b.Image.isNull() && !isIconAction(b.Action))
        return false;
    const bool first = passes(b.Visibility, true, w);
    const bool second = b.Visibility1 == 100 ? first : passes(b.Visibility1, false, w);
    if (!first || !second)
        return false;
    if (b.Action == 0 && !w.systemMenu)
        return false;
    if ((isIconAction(b.Action) || b.Action == 12) && w.dialogFrame)
        return false;
    return true;
}

bool captionButtonEnabled(const TDataSkinSysButton& b, const WindowTraits& w) {
    if (b.Action == 1)
        return w.maximiseBox && w.systemMenu;
    if (b.Action == 2)
        return w.minimiseBox && w.systemMenu;
    return true;
}

QString paddedCaption(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

int captionWidthNeeded(const SkinModel& m, const QString& text, const QFont& font) {
    return QFontMetrics(font).horizontalAdvance(paddedCaption(text)) + m.Title.LeftWidth +
           m.Title.RightWidth;
}

CaptionLayout layoutCaption(const SkinModel& m, const WindowTraits& w, const FrameMetrics& metrics,
                            int width, const QString& text, const QFont& font, QSize icon) {
    CaptionLayout out;
    const auto& buttons = m.CaptionButtons;
    std::vector<int> shown;
    int rightArea = 0;
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        if (!captionButtonShown(buttons[i], w))
            continue;
        shown.push_back(i);
        if (buttons[i].Align == 1)
            rightArea = std::max(rightArea, buttons[i].XCoord);
    }

    // The text: measured, placed by the alignment, centred vertically and
    // clipped on the right.
    const TDataSkinTitle& title = m.Title;
    const QFontMetrics fm(font);
    const int tw =
        fm.horizontalAdvance(paddedCaption(text)) + title.TXTBackleft + title.TXTBackRight;
    const int th = fm.height();
    int x = 0;
    switch (title.TextAlignment) {
    case 1:
        x = (width - tw) / 2;
        break;
    case 2:
        x = width - title.RightWidth - tw;
        break;
    default:
        x = title.LeftWidth - (w.dialogFrame ? 16 : 0);
        break;
    }
    const int y = (metrics.top - th) / 2 + title.TopHeight / 2;
    int clip = width - title.RightWidth;
    if (w.popup && rightArea > 5)
        clip = width - rightArea - 5;
    out.textBack = QRect(x, y, std::max(0, std::min(tw, clip - x)), th);
    out.clipped = x + tw > clip;
    out.text = out.textBack.adjusted(title.TXTBackleft, 0, -title.TXTBackRight, 0);
    if (out.text.width() < 0)
        out.text.setWidth(0);

    for (int i : shown) {
        const TDataSkinSysButton& b = buttons[i];
        const QSize size = buttonSize(b, icon);
        int left = b.XCoord;
        switch (b.Align) {
        case 1:
            left = width - b.XCoord;
            break;
        case 2:
        case 8:
            left = out.textBack.left() - size.width() - b.XCoord;
            break;
        case 3:
        case 9:
            left = out.textBack.right() + 1 + b.XCoord;
            break;
        default:
            break;
        }
        out.buttons.push_back({i, QRect(QPoint(left, b.YCoord), size), captionButtonEnabled(b, w)});
    }
    return out;
}

QString captionButtonHint(int action) {
    switch (action) {
    case 0:
    case 9:
    case 62:
        return QStringLiteral("Close");
    case 1:
    case 22:
        return QStringLiteral("Maximize");
    case 2:
    case 7:
    case 23:
    case 60:
        return QStringLiteral("Minimize");
    case 8:
    case 61:
        return QStringLiteral("Restore");
    default:
        return {};
    }
}

} // namespace zorvia::skin
