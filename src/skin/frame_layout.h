#pragma once

#include "skin/skin_model.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <vector>

// Geometry of a skinned window frame: edge metrics, which caption buttons
// show and where, and where the caption text goes.
namespace zorvia::skin {

struct FrameMetrics {
    int left = 0;
    int top = 0; // the caption
    int right = 0;
    int bottom = 0;

    int horizontal() const { return left + right; }
    int vertical() const { return top + bottom; }
    bool operator==(const FrameMetrics&) const = default;
};

// Edge widths from the frame images (states side by side for the sides,
// stacked for the caption and bottom); all 0 without a caption.
FrameMetrics frameMetrics(const SkinModel& model, bool hasCaption);

// What the frame needs to know about its window.
struct WindowTraits {
    bool caption = true;
    bool sizing = false;        // a sizing border
    bool dialogFrame = false;   // a dialog frame (message boxes, fixed dialogs)
    bool popup = false;         // a dialog-like window: text clipped at the buttons
    bool messageDialog = false; // class "#32770" or "TMessageForm"
    bool maximised = false;
    bool minimised = false;
    bool active = true;
    bool systemMenu = true;
    bool minimiseBox = false;
    bool maximiseBox = false;
    bool help = false;
};

// The caption-button visibility table (Visibility by the first column,
// Visibility1 by the second) and the per-action rules.
bool captionButtonShown(const TDataSkinSysButton& button, const WindowTraits& window);
bool captionButtonEnabled(const TDataSkinSysButton& button, const WindowTraits& window);

struct CaptionButton {
    int index = 0; // in SkinModel::CaptionButtons
    QRect rect;    // window coordinates
    bool enabled = true;
};

struct CaptionLayout {
    QRect text;           // where the caption text is drawn
    QRect textBack;       // behind it, with the TextBack margins
    bool clipped = false; // the text is cut at the right
    std::vector<CaptionButton> buttons;
};

// Lays out the caption of a window of `width` pixels: the text (measured in
// `font`) and every shown button. `icon` is the window's small icon size, used
// by buttons without an image of their own (Action 3 and 11).
CaptionLayout layoutCaption(const SkinModel& model, const WindowTraits& window,
                            const FrameMetrics& metrics, int width, const QString& text,
                            const QFont& font, QSize icon);

// Text width the caption needs: the text plus TextShift and TextRightClip.
int captionWidthNeeded(const SkinModel& model, const QString& text, const QFont& font);

// The caption text as drawn: padded with blanks.
QString paddedCaption(const QString& text);

// The hint of a caption button's action, empty when it has none.
QString captionButtonHint(int action);

} // namespace zorvia::skin
