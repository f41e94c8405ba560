#pragma once

#include "skin/skin_model.h"

namespace zorvia {
class TQuickIni;
class TSkinReader;
} // namespace zorvia

namespace zorvia::skin {

// What the model takes from the desktop it runs on.
struct SkinEnvironment {
    SystemColours colours = SystemColours::classic();
    // Width of a horizontal scroll bar's arrow (the window system's scroll
    // arrow metric); the combo box composite reserves it for its button.
    int scrollArrowSize = 17;

    static SkinEnvironment current(); // the GUI palette when there is one
};

// The skin model from a settings text and the container it came with. The
// result has Loaded set.
SkinModel BuildSkinModel(const TQuickIni& ini, const TSkinReader& reader,
                         const SkinEnvironment& environment);

// The built-in channel images used when a skin has no "Track" / "TRACKVERT".
QImage builtinTrackImage(bool vertical);

} // namespace zorvia::skin
