#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/stored_skin.h"
#include "skin_test_support.h"

#include <gtest/gtest.h>

using namespace zorvia;
using namespace zorvia::skin;
using namespace zorvia::skintest;

namespace {

// The model of a skin made of `ini` and the given bitmaps.
SkinModel modelOf(const std::string& ini, std::vector<skinpack::Entry> entries = {}) {
    entries.push_back({"skin.ini", textBytes(ini)});
    TSkinData data;
    data.SetEnvironment([] { return SkinEnvironment{}; });
    data.SetStoredSkin(storedSkinOf(entries));
    EXPECT_TRUE(data.LoadSkinStore());
    return data.Model();
}

skinpack::Entry bmp(const std::string& name, int w, int h, QRgb colour = qRgb(10, 20, 30)) {
    return {name, solidBmp(w, h, colour)};
}

TEST(SkinModel, EmptySettingsGiveDefaults) {
    const SkinModel m = modelOf("");
    EXPECT_TRUE(m.Loaded);
    EXPECT_EQ(m.SkinName, "");
    EXPECT_EQ(m.Colours[SlotButtonFace].value, systemColour(COLOR_BTNFACE));
    EXPECT_FALSE(m.Colours[SlotButtonFace].given);
    EXPECT_EQ(m.Colours[SlotMenubar].value, systemColour(COLOR_BTNFACE));
    EXPECT_EQ(m.CaptionButtons.size(), 3u) << "the three MDI buttons";
    EXPECT_EQ(m.Buttons.Frame, 5);
    EXPECT_EQ(m.Buttons.RadioButtonFrame, 4);
    EXPECT_EQ(m.Title.Frame, 2);
    EXPECT_EQ(m.Title.FontHeight, 14);
    EXPECT_EQ(m.Title.ActiveText, TitleColourNotGiven);
    EXPECT_EQ(m.Left.Frame, 1);
    EXPECT_EQ(m.Left.Trans, 1);
    EXPECT_EQ(m.Left.Tile, 1);
    EXPECT_FALSE(m.Tabs.has_value());
    EXPECT_FALSE(m.Scrollbar.has_value());
    EXPECT_TRUE(m.ComboxArrow.Image.isNull());
    EXPECT_EQ(m.Toolbar.Image.size(), QSize(10, 40));
    // The caption sample falls back to ButtonFace.
    EXPECT_EQ(m.Colours[SlotCaptionSample].value, systemColour(COLOR_BTNFACE));
    EXPECT_EQ(m.ButtonFaceBrush.color(), QColor(212, 208, 200));
}

TEST(SkinModel, ColourTable) {
    const SkinModel m = modelOf("[Colours]\n"
                                "ButtonFace=1 2 3\n"
                                "Menubar=\n"
                                "WindowText=9,8,7\n"
                                "[COLOUR1]\ncolor=5 5 5\n"
                                "[Colours]\nButtonText=1 1 1\n" // a second section: not read
                                "[colourDark]\n"
                                "[Customcolors]\nColor3=30 0 0\n");
    EXPECT_EQ(m.Colours[SlotButtonFace].value, rgbColour(1, 2, 3));
    EXPECT_TRUE(m.Colours[SlotButtonFace].given);
    // Menubar is read after ButtonFace and takes its value when not given.
    EXPECT_EQ(m.Colours[SlotMenubar].value, rgbColour(1, 2, 3));
    EXPECT_FALSE(m.Colours[SlotMenubar].given);
    EXPECT_EQ(m.Colours[SlotWindowText].value, rgbColour(9, 8, 7));
    EXPECT_EQ(m.Colours[SlotButtonText].value, systemColour(COLOR_BTNTEXT));
    EXPECT_EQ(m.ExtraColours,
              (std::vector<SkinColour>{rgbColour(5, 5, 5), systemColour(COLOR_WINDOWTEXT)}));
    EXPECT_EQ(m.CustomColours[3], rgbColour(30, 0, 0));
    EXPECT_EQ(m.CustomColours[0], rgbColour(255, 255, 255));
    EXPECT_EQ(m.colour(SlotButtonText), rgbColour(0, 0, 0));
    EXPECT_EQ(m.ButtonFaceBrush.color(), QColor(1, 2, 3));
}

TEST(SkinModel, ImageKeys) {
    const SkinModel m = modelOf("[Tabs]\nImage=Tab.BMP\n"
                                "[SunkEdge]\nImage=skins\\tab.bmp\n"
                                "[ToolBars]\nImage=missing.bmp\n"
                                "[MenuItem]\nImage=\n",
                                {bmp("tab.bmp", 10, 4)});
    ASSERT_TRUE(m.Tabs.has_value()) << "made even though its image stays empty";
    EXPECT_TRUE(m.Tabs->Image.isNull());
    ASSERT_TRUE(m.SunkEdge.has_value());
    EXPECT_EQ(m.SunkEdge->Image.size(), QSize(10, 4));
    ASSERT_TRUE(m.ToolBars.has_value());
    EXPECT_TRUE(m.ToolBars->Image.isNull());
    EXPECT_FALSE(m.MenuItem.has_value());
}

TEST(SkinModel, CaptionButtons) {
    const SkinModel m = modelOf("[ButtonWide]\nButtonImage=wide.bmp\n"
                                "[ButtonNarrow]\nButtonImage=narrow.bmp\nAction=1\nVisibility=2\n"
                                "XCoord=66\nYCoord=5\n"
                                "[ButtonNegative]\nButtonImage=narrow.bmp\nAction=-2\n"
                                "[ButtonHidden]\nButtonImage=narrow.bmp\nAction=-1\n"
                                "[ButtonShown]\nButtonImage=narrow.bmp\nAction=-1\nVisibility=0\n"
                                "[ButtonGiven]\nButtonImage=narrow.bmp\nframe=4\n"
                                "[ButtonIcon]\nButtonImage=narrow.bmp\nAction=3\n"
                                "[ButtonHelp]\nAction=4\nXCoord=1\n"
                                "[Buttons]\n[Button]\n[Button.Radio]\n[BUTTON.CHECKBOX]\n",
                                {bmp("wide.bmp", 210, 21), bmp("narrow.bmp", 60, 21)});
    struct Want {
        const char* name;
        int frame;
        bool image;
    };
    const Want wants[] = {
        {"BUTTONWIDE", 6, true},  {"BUTTONNARROW", 3, true}, {"BUTTONNEGATIVE", 6, true},
        {"BUTTONSHOWN", 6, true}, {"BUTTONGIVEN", 4, true},  {"BUTTONICON", 3, false},
        {"BUTTONHELP", 6, false}, {"MDIMINIMIZE", 4, false}, {"MDIRESTORE", 4, false},
        {"MDICLOSE", 4, false},
    };
    ASSERT_EQ(m.CaptionButtons.size(), std::size(wants));
    for (std::size_t i = 0; i < std::size(wants); ++i) {
        const auto& b = m.CaptionButtons[i];
        EXPECT_EQ(b.Name, wants[i].name);
        EXPECT_EQ(b.Frame, wants[i].frame) << wants[i].name;
        EXPECT_EQ(!b.Image.isNull(), wants[i].image) << wants[i].name;
    }
    const auto& shown = m.CaptionButtons[3];
    EXPECT_EQ(shown.Visibility1, -1);
    // The help button takes the place of the maximise button.
    EXPECT_EQ(m.CaptionButtons[6].XCoord, 66);
    EXPECT_EQ(m.CaptionButtons[6].YCoord, 5);
    for (int i = 0; i < 3; ++i) {
        const auto& mdi = m.CaptionButtons[7 + static_cast<std::size_t>(i)];
        EXPECT_EQ(mdi.Action, 7 + i);
        EXPECT_EQ(mdi.Align, 100);
        EXPECT_EQ(mdi.Visibility1, 100);
    }
}

TEST(SkinModel, MdiButtonsFromOneStrip) {
    QImage strip(48 * 3, 10, QImage::Format_RGB32); // w = 12: states of 48 x 10
    for (int x = 0; x < strip.width(); ++x)
        for (int y = 0; y < 10; ++y)
            strip.setPixel(x, y, qRgb(x / 48 * 100, 0, 0));
    const SkinModel m = modelOf("[MDICONTROLS]\nImage=mdi.bmp\n", {{"mdi.bmp", bmpFile(strip)}});
    ASSERT_EQ(m.CaptionButtons.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const auto& b = m.CaptionButtons[static_cast<std::size_t>(i)];
        EXPECT_EQ(b.Image.size(), QSize(48, 10));
        EXPECT_EQ(qRed(b.Image.pixel(0, 0)), i * 100);
        EXPECT_EQ(b.XCoord, (12 + 4) * (3 - i));
    }
}

TEST(SkinModel, FixedObjects) {
    const SkinModel m =
        modelOf("[TitlebarSkin]\nSkinName=Blue\n"
                "[Personality]\nTop=top.bmp\nTopFrame=2\nTopStretch=5\n"
                "TopTopHeight=7\nTopBotHeight=8\nLeft=side.bmp\nLeftFrame=0\n"
                "LeftTopHeight=30\nLeftBotHeight=4\nTextShift=30\n"
                "TextRightClip=100\nActiveTextR=1\nActiveTextG=2\nActiveTextB=3\n"
                "InActiveTextR=1\nInActiveTextG=-1\nInActiveTextB=3\n"
                "[Fonts]\nFontHeight=15\n"
                "[Buttons]\nBitmap=b.bmp\nTile=2\nCheckButton=check.bmp\n"
                "RadioButton=radio.bmp\nNormalColour2=1 2 3\nNormalColour=$FF\n",
                {bmp("top.bmp", 90, 60), bmp("side.bmp", 8, 40), bmp("b.bmp", 100, 23),
                 bmp("check.bmp", 13 * 6, 13), bmp("radio.bmp", 16 * 2, 16)});
    EXPECT_EQ(m.SkinName, "Blue");
    EXPECT_EQ(m.Top.Frame, 2);
    EXPECT_EQ(m.Top.Tile, 1);
    EXPECT_EQ(m.Top.LeftWidth, 7);
    EXPECT_EQ(m.Top.RightWidth, 8);
    EXPECT_EQ(m.Top.TopHeight, 0);
    EXPECT_EQ(m.Left.TopHeight, 30);
    EXPECT_EQ(m.Left.BottomHeight, 4);
    EXPECT_EQ(m.Left.Frame, 1) << "a state count of 0 means one state";
    EXPECT_EQ(m.Title.LeftWidth, 30);
    EXPECT_EQ(m.Title.RightWidth, 100);
    EXPECT_EQ(m.Title.FontHeight, 15);
    EXPECT_EQ(m.Title.ActiveText, rgbColour(1, 2, 3));
    EXPECT_EQ(m.Title.InActiveText, TitleColourNotGiven);
    EXPECT_EQ(m.Buttons.Image.size(), QSize(100, 23));
    EXPECT_EQ(m.Buttons.Tile, 0);
    EXPECT_EQ(m.Buttons.CheckButtonFrame, 6);
    EXPECT_EQ(m.Buttons.RadioButtonFrame, 4) << "two 16-pixel cells, at least 4";
    EXPECT_TRUE(m.Buttons.NormalColour2Given);
    EXPECT_EQ(m.Buttons.NormalColour2, rgbColour(1, 2, 3));
    EXPECT_FALSE(m.Buttons.PressedColour2Given);
    EXPECT_EQ(m.Buttons.PressedColour2, systemColour(COLOR_BTNTEXT));
    EXPECT_EQ(m.Buttons.NormalColour, 0xFF);
    EXPECT_EQ(m.Buttons.MouseOverColour, NoColour);
    // The caption sample: Top pixel at (90 / 3, (60 / 2) / 3).
    EXPECT_EQ(m.Colours[SlotCaptionSample].value, rgbColour(10, 20, 30));
}

TEST(SkinModel, OptionalObjectAdjustments) {
    const SkinModel m = modelOf("[Tab.Pane]\nImage=p.bmp\nLeftWidth=6\nTopHeight=4\nRightWidth=5\n"
                                "BottomHeight=2\nFrame=9\n"
                                "[Progress]\nBitmap=p.bmp\nStyle=1\nTile=3\n"
                                "[Headerbar]\nImage=p.bmp\n"
                                "[HorzScrollThumb]\nImage=p.bmp\nFrame=9\n"
                                "[VertScrollThumb]\nImage=p.bmp\nFrameCount=2\n"
                                "[Scrollbar]\nImage=p.bmp\nTile=2\n"
                                "[Progress.Chunk]\nImage=p.bmp\nFrame=3\n"
                                "[Personality]\nmenuBar=p.bmp\nTileMenu=4\n"
                                "[ComboButton]\nImage=c.bmp\n"
                                "[UpDown.Vert]\nImage=p.bmp\nGlyphImage=c.bmp\n",
                                {bmp("p.bmp", 12, 12), {"c.bmp", [] {
                                                            QImage i(2, 1, QImage::Format_RGB32);
                                                            i.setPixel(0, 0, qRgb(255, 0, 255));
                                                            i.setPixel(1, 0, qRgb(1, 1, 1));
                                                            return bmpFile(i);
                                                        }()}});
    ASSERT_TRUE(m.TabPane && m.Progress && m.Headerbar && m.HorzScrollThumb && m.VertScrollThumb &&
                m.Scrollbar && m.ProgressChunk && m.Personality && m.ComboButton && m.UpDownVert);
    EXPECT_EQ(SkinMargins::of(*m.TabPane).left, 4);
    EXPECT_EQ(m.TabPane->TopHeight, 4);
    EXPECT_EQ(m.TabPane->RightWidth, 4);
    EXPECT_EQ(m.TabPane->BottomHeight, 2);
    EXPECT_EQ(m.TabPane->Frame, 1);
    EXPECT_EQ(m.Progress->Frame, 1);
    EXPECT_EQ(m.Progress->Tile, 1);
    EXPECT_EQ(m.Headerbar->Frame, 5);
    EXPECT_EQ(m.HorzScrollThumb->Frame, 3);
    EXPECT_EQ(m.VertScrollThumb->Frame, 2);
    EXPECT_EQ(m.Scrollbar->Frame, 23);
    EXPECT_EQ(m.Scrollbar->Tile, 0);
    EXPECT_EQ(m.ProgressChunk->Frame, 3);
    EXPECT_EQ(m.Personality->Frame, 2);
    EXPECT_EQ(m.Personality->Tile, 1);
    EXPECT_EQ(m.Personality->LeftWidth, 1);
    EXPECT_EQ(m.ComboButton->Frame, 4);
    // The second image is the first mirrored.
    EXPECT_EQ(m.ComboButton->Image2.pixel(0, 0), qRgb(1, 1, 1));
    EXPECT_EQ(m.UpDownVert->Frame, 8);
    EXPECT_EQ(m.UpDownVert->Image2.width(), 2);
    // Without SunkEdge the arrow is the button with the key replaced by ButtonFace.
    EXPECT_EQ(m.ComboxArrow.Image.pixel(0, 0), qRgb(212, 208, 200));
    EXPECT_EQ(m.ComboxArrow.Frame, 4);
    EXPECT_EQ(m.find("tab.pane"), &*m.TabPane);
    EXPECT_EQ(m.find("GroupBox"), nullptr);
}

TEST(SkinModel, BuiltInTrackChannels) {
    const SkinModel m = modelOf("[TRACKVERT]\nImage=t.bmp\nFrame=2\n", {bmp("t.bmp", 8, 30)});
    EXPECT_EQ(m.Track.Image.size(), QSize(16, 4));
    EXPECT_EQ(m.Track.LeftWidth, 3);
    EXPECT_EQ(m.Track.BottomHeight, 3);
    EXPECT_EQ(m.Track.Frame, 1);
    EXPECT_EQ(m.TrackVert.Image.size(), QSize(8, 30));
    EXPECT_EQ(m.TrackVert.Frame, 2);
    EXPECT_EQ(builtinTrackImage(true).size(), QSize(4, 16));
}

TEST(SkinModel, ComboComposite) {
    // SunkEdge: 4 states of 20 x 21 in four greys; ComboButton: 4 states of
    // 19 x 21 in blue; the arrow glyph: 5 states of 5 x 3 in green.
    QImage sunk(80, 21, QImage::Format_RGB32);
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < 21; ++y)
            sunk.setPixel(x, y, qRgb(50 * (x / 20 + 1), 50 * (x / 20 + 1), 50 * (x / 20 + 1)));
    QImage button(76, 21, QImage::Format_RGB32);
    button.fill(qRgb(0, 0, 200));
    QImage glyph(25, 3, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 200, 0));
    const SkinModel m =
        modelOf("[SunkEdge]\nImage=s.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=3\n"
                "BottomHeight=3\n[ComboButton]\nImage=c.bmp\n"
                "[ExtraImages]\nImage=g.bmp\n",
                {{"s.bmp", bmpFile(sunk)}, {"c.bmp", bmpFile(button)}, {"g.bmp", bmpFile(glyph)}});
    const int a = 17 + 2;
    ASSERT_TRUE(m.ComboButton && m.SunkEdge);
    const QImage& composite = m.ComboButton->Image;
    ASSERT_EQ(composite.size(), QSize(200, 21));
    EXPECT_EQ(m.ComboButton->Style, 2);
    EXPECT_EQ(m.ComboButton->LeftWidth, 2);
    EXPECT_EQ(m.ComboButton->RightWidth, a + 2);
    EXPECT_EQ(m.ComboButton->TopHeight, 3);
    EXPECT_EQ(m.SunkEdge->LeftWidth, a + 2);
    EXPECT_EQ(m.SunkEdge->RightWidth, 2);
    for (int k = 1; k <= 4; ++k) {
        const int x0 = 50 * (k - 1);
        EXPECT_EQ(composite.pixel(x0, 0), qRgb(50 * k, 50 * k, 50 * k)) << k;  // edge
        EXPECT_EQ(composite.pixel(x0 + 10, 10), KeyColour) << k;               // cleared inside
        EXPECT_EQ(composite.pixel(x0 + 50 - a + 1, 1), qRgb(0, 0, 200)) << k;  // button
        EXPECT_EQ(composite.pixel(x0 + 50 - a / 2, 10), qRgb(0, 200, 0)) << k; // glyph
        // SunkEdge is the composite mirrored.
        EXPECT_EQ(m.SunkEdge->Image.pixel(199 - x0, 0), composite.pixel(x0, 0));
    }
    EXPECT_EQ(m.ComboxArrow.Image.size(), QSize(68, 17));
    EXPECT_EQ(m.ComboxArrow.Frame, 4);
    EXPECT_EQ(m.ComboxArrow.Image.pixel(17 + 8, 8), composite.pixel(50 * 2 - 19 + 8, 2 + 8));
}

TEST(SkinModel, ToolbarGradient) {
    // A saturated caption (pure blue) blends with white; the upper colour is
    // 15 % ButtonFace and 85 % white.
    const SkinModel m = modelOf("[Colours]\nButtonFace=100 100 100\n"
                                "[Personality]\nTop=t.bmp\n",
                                {bmp("t.bmp", 9, 9, qRgb(0, 0, 255))});
    const QImage& t = m.Toolbar.Image;
    ASSERT_EQ(t.size(), QSize(10, 40));
    EXPECT_EQ(t.pixel(0, 0), qRgb(232, 232, 232));
    // s = 255: weight (5625 - 6375) / 140 + 50 = 45 of 100.
    EXPECT_EQ(t.pixel(9, 39), qRgb(140, 140, 255));
    EXPECT_EQ(m.Colours[SlotCaptionSample].value, rgbColour(0, 0, 255));

    // A grey caption: saturation 0, so grey and the caption colour blend.
    const SkinModel grey =
        modelOf("[Personality]\nTop=t.bmp\n", {bmp("t.bmp", 9, 9, qRgb(200, 200, 200))});
    EXPECT_EQ(grey.Toolbar.Image.pixel(0, 39), qRgb(189, 189, 189));
}

// The game box's own skin loads whole.
TEST(SkinModel, PackedSkin) {
    TSkinData data;
    data.SetEnvironment([] { return SkinEnvironment{}; });
    const auto stored = storedSkin();
    data.SetStoredSkin({stored.begin(), stored.end()});
    ASSERT_TRUE(data.LoadSkinStore());
    const SkinModel& m = data.Model();
    EXPECT_EQ(m.SkinName, "Zorvia Sky");
    EXPECT_EQ(m.Top.Image.height() / m.Top.Frame, 30);
    EXPECT_EQ(m.Left.Image.width() / m.Left.Frame, 4);
    EXPECT_EQ(m.Bottom.Image.height() / m.Bottom.Frame, 4);
    EXPECT_EQ(m.Buttons.Image.width() % 5, 0);
    EXPECT_FALSE(m.Buttons.Image.isNull());
    for (const char* name : {"Tabs", "Tab.Pane", "Scrollbar", "HorzScroll", "VertScroll",
                             "HorzScrollThumb", "VertScrollThumb", "SunkEdge", "ComboButton",
                             "Progress", "GroupBox", "GroupBoxEdge", "ExtraImages", "Headerbar"}) {
        const TDataSkinObject* o = m.find(name);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_FALSE(o->Image.isNull()) << name;
        EXPECT_EQ(o->Image.width() % o->Frame, 0) << name;
    }
    EXPECT_FALSE(m.Tabs->Image2.isNull());
    EXPECT_EQ(m.Scrollbar->Image.width(), 23 * m.Scrollbar->Image.height());
    std::vector<int> actions;
    for (const auto& b : m.CaptionButtons)
        actions.push_back(b.Action);
    EXPECT_EQ(actions, (std::vector<int>{3, 0, 1, 1, 2, 7, 8, 9}));
    for (std::size_t i = 1; i < 5; ++i)
        EXPECT_EQ(m.CaptionButtons[i].Frame, 4);
}

} // namespace
