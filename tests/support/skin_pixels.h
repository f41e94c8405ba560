#pragma once

class QWidget;

namespace zorvia {
class TWinSkinForm;
}

namespace zorvia::test {

// The skin manager's frame skinner of a window, or null.
TWinSkinForm* skinnerOf(QWidget* window);
// Waits until the window and its controls are skinned.
bool waitSkinned(QWidget* window);

// Pixels of the caption (outside its text and buttons) and of the left edge
// that differ from the skin's "Top" and "Left" images, as the window paints
// itself now; `compared` counts the pixels looked at.
int framePixelsOffTheModel(QWidget* window, int& compared);

} // namespace zorvia::test
