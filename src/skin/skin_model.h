#pragma once

#include "skin/skin_colour.h"
#include "text/ansi.h"

#include <QBrush>
#include <QImage>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The skin model: plain values built from a skin's settings text and bitmaps.
// Every painter of the skin (frame and control skinners) reads from it.
namespace zorvia {

// One image object: a bitmap of Frame state images drawn as a nine-part
// picture with fixed margins.
struct TDataSkinObject {
    std::int32_t LeftWidth = 0;
    std::int32_t TopHeight = 0;
    std::int32_t RightWidth = 0;
    std::int32_t BottomHeight = 0;
    QImage Image;
    std::int32_t Trans = 0; // non-zero: magenta is transparent
    std::int32_t Tile = 0;  // 1: tile the centre; 0: stretch it
    AnsiString Name;
    std::int32_t Frame = 0; // number of state images
    std::int32_t Style = 0;
    skin::SkinColour NormalColour = skin::NoColour;
    skin::SkinColour MouseOverColour = skin::NoColour;
    skin::SkinColour PressedColour = skin::NoColour;
    skin::SkinColour NormalColour2 = 0;
    skin::SkinColour MouseOverColour2 = 0;
    skin::SkinColour PressedColour2 = 0;
};

struct TDataSkinBorder : TDataSkinObject {
    QImage Image2; // second image
};

struct TDataSkinButton : TDataSkinObject {
    QImage CheckButton;
    QImage RadioButton;
    std::int32_t RadioButtonFrame = 0;
    std::int32_t CheckButtonFrame = 0;
    bool NormalColour2Given = false;
    bool MouseOverColour2Given = false;
    bool PressedColour2Given = false;
};

// The caption text object. Its base slots carry TextShift (LeftWidth),
// TextShiftVert (TopHeight), TextRightClip (RightWidth) and the TextBack image.
struct TDataSkinTitle : TDataSkinObject {
    std::int32_t TextAlignment = 0;
    std::int32_t Textbackground = 0;
    std::int32_t FontHeight = 14;
    std::int32_t TXTBackleft = 0;
    std::int32_t TXTBackRight = 0;
    skin::SkinColour ActiveText = skin::TitleColourNotGiven;
    skin::SkinColour InActiveText = skin::TitleColourNotGiven;
};

// A caption button. Action: 0 close, 1 maximise, 2 minimise, 3/11 window
// menu icon, 4 help; the MDI buttons 7 minimise, 8 restore, 9 close.
struct TDataSkinSysButton : TDataSkinObject {
    std::int32_t Action = 0;
    std::int32_t Align = 0;
    std::int32_t XCoord = 0;
    std::int32_t YCoord = 0;
    std::int32_t CombineOp = -1;
    std::int32_t Visibility = 0;
    std::int32_t Visibility1 = 0;
};

struct TDataSkinBoxLabel : TDataSkinObject {
    std::int32_t BackgroundLeftShift = 0;
    std::int32_t BackgroundRightShift = 0;
    std::int32_t BackgroundAlignment = 0;
};

namespace skin {

// Colour table slots.
enum ColourSlot : int {
    SlotWindowText = 0,
    SlotTitleTextActive = 1,
    SlotTitleTextNoActive = 2,
    SlotButtonFace = 3,
    SlotButtonText = 4,
    SlotButtonHilight = 5,
    SlotButtonlight = 6,
    SlotButtonShadow = 7,
    SlotButtonDkShadow = 8,
    SlotHilightText = 11,
    SlotHilight = 12,
    SlotMenubar = 13,
    SlotMenuBarText = 14,
    SlotMenuText = 15,
    SlotMenu = 16,
    SlotCaptionSample = 17,
    SlotScrollbar = 18,
    ColourSlotCount = 19,
};

struct ColourEntry {
    SkinColour value = 0;
    bool given = false; // the skin set this slot
};

struct SkinModel {
    AnsiString SkinName;
    std::array<ColourEntry, ColourSlotCount> Colours{};
    std::vector<SkinColour> ExtraColours;
    std::array<SkinColour, 10> CustomColours{};
    QBrush ButtonFaceBrush;
    // The system colour values in force when the model was built; resolve()
    // and colour() read system colour references through it.
    SystemColours System = SystemColours::classic();

    std::vector<TDataSkinSysButton> CaptionButtons; // the skin's, then 3 MDI buttons

    // Fixed objects: present in every model.
    TDataSkinButton Buttons;
    TDataSkinBorder Left, Right, Top, Bottom;
    TDataSkinTitle Title;

    // Optional objects: present only while their section names an image.
    std::optional<TDataSkinBorder> Progress;
    std::optional<TDataSkinObject> ProgressChunk;
    std::optional<TDataSkinObject> Personality; // menu bar background
    std::optional<TDataSkinObject> GroupBoxEdge;
    std::optional<TDataSkinBoxLabel> GroupBox;
    std::optional<TDataSkinBorder> Tabs;
    std::optional<TDataSkinObject> StatusBarEdges;
    std::optional<TDataSkinObject> TabPane;
    std::optional<TDataSkinObject> ToolBars;
    std::optional<TDataSkinBorder> ComboButton;
    std::optional<TDataSkinObject> SunkEdge;
    std::optional<TDataSkinObject> ExtraImages;
    std::optional<TDataSkinObject> Headerbar;
    std::optional<TDataSkinObject> MenuItem;
    std::optional<TDataSkinObject> MenuBackground;
    std::optional<TDataSkinObject> Scrollbar;
    std::optional<TDataSkinObject> HorzScroll;
    std::optional<TDataSkinObject> VertScroll;
    std::optional<TDataSkinObject> HorzScrollThumb;
    std::optional<TDataSkinObject> VertScrollThumb;
    std::optional<TDataSkinObject> TrackbarThumbHorz;
    std::optional<TDataSkinObject> TrackbarThumbVert;
    std::optional<TDataSkinObject> TrackbarThumbLeft;
    std::optional<TDataSkinObject> TrackbarThumbRight;
    std::optional<TDataSkinObject> TrackbarThumbUp;
    std::optional<TDataSkinObject> TrackbarThumbDown;
    std::optional<TDataSkinBorder> UpDownHorz;
    std::optional<TDataSkinBorder> UpDownVert;

    // Derived objects: present after every load.
    TDataSkinObject Track;     // section "Track" or the built-in channel
    TDataSkinObject TrackVert; // section "TRACKVERT" or the built-in channel
    TDataSkinObject ComboxArrow;
    TDataSkinObject Toolbar; // gradient background

    bool Loaded = false;

    // The object made for a section (or fixed) name, ignoring ASCII case:
    // "Buttons", "Left", "Title", "Tab.Pane", "ComboxArrow", ... or null.
    const TDataSkinObject* find(std::string_view name) const;

    SkinColour colour(int slot) const {
        return System.resolve(Colours[static_cast<size_t>(slot)].value);
    }
    QColor qcolour(int slot) const {
        return System.toQColor(Colours[static_cast<size_t>(slot)].value);
    }
};

} // namespace skin
} // namespace zorvia
