#include "skin/skin_model_build.h"

#include "skin/gradient.h"
#include "skin/quick_ini.h"
#include "skin/skin_draw.h"
#include "skin/skin_image.h"
#include "skin/skin_reader.h"
#include "text/ascii_case.h"

#include <algorithm>
#include <string>

namespace zorvia::skin {

SkinEnvironment SkinEnvironment::current() {
    SkinEnvironment e;
    e.colours = SystemColours::current();
    return e;
}

namespace {

QImage builtinTrack(int w, int h) {
    // A light sunken channel: grey above/left, white below/right, silver inside.
    const QRgb grey = qRgb(128, 128, 128), white = qRgb(255, 255, 255),
               silver = qRgb(192, 192, 192), dark = qRgb(160, 160, 160);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRgb c = silver;
            if (y == 0 || x == 0)
                c = grey;
            else if (y == h - 1 || x == w - 1)
                c = white;
            else if (y == 1 || x == 1)
                c = dark;
            image.setPixel(x, y, c);
        }
    return image;
}

class Builder {
public:
    Builder(const TQuickIni& ini, const TSkinReader& reader, const SkinEnvironment& env)
        : ini_(ini), reader_(reader), env_(env) {
        model_.System = env.colours;
    }

    SkinModel build() {
        model_.SkinName = str("TitlebarSkin", "SkinName");
        readEdges();
        readColours();
        readCaptionButtons();
        readButtons();
        readTitle();
        readOptionalObjects();
        setStateCounts();
        const SkinColour captionSample = captionColourSample();
        buildComboComposite();
        buildToolbar(captionSample);
        model_.Colours[SlotCaptionSample].value = captionSample;
        model_.ButtonFaceBrush = QBrush(model_.qcolour(SlotButtonFace));
        model_.Loaded = true;
        return std::move(model_);
    }

private:
    AnsiString str(std::string_view section, std::string_view key,
                   const AnsiString& def = {}) const {
        return ini_.ReadString(section, key, def);
    }
    int num(std::string_view section, std::string_view key, int def) const {
        return ini_.ReadInteger(section, key, def);
    }
    QImage image(std::string_view section, std::string_view key) const {
        return readSkinImage(reader_, str(section, key));
    }
    SkinColour buttonText() const { return model_.Colours[SlotButtonText].value; }

    // The keys every image object reads: image, style, margins, frame,
    // trans, tile and the two colour sets. False when the image key is empty.
    bool readGeneric(TDataSkinObject& o, std::string_view section, bool withFrame = true,
                     std::string_view imageKey = "Image") const {
        const AnsiString file = str(section, imageKey);
        if (file.empty())
            return false;
        o.Name = AnsiString(section);
        o.Image = readSkinImage(reader_, file);
        o.Style = num(section, "Style", 0);
        o.LeftWidth = num(section, "LeftWidth", 0);
        o.RightWidth = num(section, "RightWidth", 0);
        o.TopHeight = num(section, "TopHeight", 0);
        o.BottomHeight = num(section, "BottomHeight", 0);
        if (withFrame)
            o.Frame = num(section, "Frame", 0);
        o.Trans = num(section, "Trans", 0);
        o.Tile = num(section, "Tile", 0);
        if (o.Tile > 1)
            o.Tile = 0;
        o.NormalColour = num(section, "NormalColour", NoColour);
        o.MouseOverColour = num(section, "MouseOverColour", NoColour);
        o.PressedColour = num(section, "PressedColour", NoColour);
        o.NormalColour2 = secondColour(section, "NormalColour2", nullptr);
        o.MouseOverColour2 = secondColour(section, "MouseOverColour2", nullptr);
        o.PressedColour2 = secondColour(section, "PressedColour2", nullptr);
        return true;
    }

    SkinColour secondColour(std::string_view section, std::string_view key, bool* given) const {
        const AnsiString text = str(section, key);
        if (given != nullptr)
            *given = !text.empty();
        return text.empty() ? buttonText() : ParseColour(text);
    }

    template <class Object>
    std::optional<Object> generic(std::string_view section, int frame = 0) const {
        Object o;
        if (!readGeneric(o, section))
            return std::nullopt;
        if (frame > 0)
            o.Frame = frame;
        return o;
    }

    std::optional<TDataSkinBorder> border(std::string_view section, std::string_view secondKey,
                                          int frame) const {
        TDataSkinBorder o;
        if (!readGeneric(o, section, false))
            return std::nullopt;
        o.Image2 = image(section, secondKey);
        o.Frame = frame;
        return o;
    }

    void readEdges() {
        auto edge = [&](TDataSkinBorder& o, const std::string& name, bool sides) {
            o = TDataSkinBorder{};
            o.Name = name;
            o.Image = image("Personality", name);
            o.Frame = num("Personality", name + "Frame", 1);
            o.Tile = std::min(num("Personality", name + "Stretch", 1), 1);
            o.Trans = num("Personality", name + "Trans", 1);
            const int first = num("Personality", name + "TopHeight", 0);
            const int second = num("Personality", name + "BotHeight", 0);
            if (sides) {
                o.TopHeight = first;
                o.BottomHeight = second;
            } else {
                o.LeftWidth = first;
                o.RightWidth = second;
            }
        };
        edge(model_.Left, "Left", true);
        edge(model_.Right, "Right", true);
        edge(model_.Top, "Top", false);
        edge(model_.Bottom, "Bottom", false);
    }

    void readColours() {
        struct Slot {
            int slot;
            const char* key;
            int systemIndex; // -1: the value of the ButtonFace slot
        };
        // In reading order: Menubar defaults to ButtonFace, read before it.
        static constexpr Slot table[] = {
            {SlotWindowText, "WindowText", COLOR_WINDOWTEXT},
            {SlotButtonFace, "ButtonFace", COLOR_BTNFACE},
            {SlotScrollbar, "Scrollbar", COLOR_SCROLLBAR},
            {SlotHilightText, "HilightText", COLOR_HIGHLIGHTTEXT},
            {SlotHilight, "Hilight", COLOR_HIGHLIGHT},
            {SlotMenubar, "Menubar", -1},
            {SlotMenu, "Menu", COLOR_MENU},
            {SlotMenuText, "MenuText", COLOR_MENUTEXT},
            {SlotButtonText, "ButtonText", COLOR_BTNTEXT},
            {SlotButtonHilight, "ButtonHilight", COLOR_BTNHIGHLIGHT},
            {SlotButtonlight, "Buttonlight", COLOR_BTNHIGHLIGHT},
            {SlotButtonShadow, "ButtonShadow", COLOR_BTNSHADOW},
            {SlotButtonDkShadow, "ButtonDkShadow", COLOR_3DDKSHADOW},
            {SlotMenuBarText, "MenuBarText", COLOR_MENUTEXT},
            {SlotTitleTextActive, "TitleTextActive", COLOR_CAPTIONTEXT},
            {SlotTitleTextNoActive, "TitleTextNoActive", COLOR_INACTIVECAPTIONTEXT},
        };
        for (const auto& s : table) {
            const AnsiString text = str("Colours", s.key);
            auto& entry = model_.Colours[static_cast<size_t>(s.slot)];
            entry.given = !text.empty();
            if (entry.given)
                entry.value = ParseColour(text);
            else
                entry.value = s.systemIndex < 0 ? model_.Colours[SlotButtonFace].value
                                                : systemColour(s.systemIndex);
        }

        for (const auto& section : ini_.ReadSections()) {
            const std::string name = text::toUpperAscii(section);
            if (name.rfind("COLOUR", 0) != 0 || name == "COLOURS")
                continue;
            const AnsiString text = str(section, "color");
            model_.ExtraColours.push_back(text.empty() ? systemColour(COLOR_WINDOWTEXT)
                                                       : ParseColour(text));
        }
        for (int i = 0; i < 10; ++i) {
            const AnsiString text = str("Customcolors", "Color" + std::to_string(i));
            model_.CustomColours[static_cast<size_t>(i)] =
                text.empty() ? rgbColour(255, 255, 255) : ParseColour(text);
        }
    }

    void readCaptionButtons() {
        bool remembered = false;
        int rememberedX = 0, rememberedY = 0;
        for (const auto& section : ini_.ReadSections()) {
            const std::string name = text::toUpperAscii(section);
            if (name.rfind("BUTTON", 0) != 0 || name == "BUTTON" || name == "BUTTONS" ||
                name == "BUTTON.RADIO" || name == "BUTTON.CHECKBOX")
                continue;
            if (num(section, "Action", 0) == -1 && num(section, "Visibility", -1) != 0)
                continue;

            TDataSkinSysButton b;
            b.Name = name;
            b.Action = num(section, "Action", 0);
            b.Align = num(section, "Align", 0);
            b.XCoord = num(section, "Xcoord", 0);
            b.YCoord = num(section, "Ycoord", 0);
            b.Visibility = num(section, "Visibility", 0);
            b.Visibility1 = num(section, "Visibility1", b.Action == -1 ? -1 : 0);
            if (b.Action == 1 && b.Visibility == 2) {
                remembered = true;
                rememberedX = b.XCoord;
                rememberedY = b.YCoord;
            }
            // A help button sits where the maximise button of a restored
            // window sits; without one before it, it keeps its own place.
            if (b.Action == 4 && remembered) {
                b.XCoord = rememberedX;
                b.YCoord = rememberedY;
            }
            b.CombineOp = num(section, "CombineOp", -1);
            b.Frame = num(section, "frame", 0);
            b.Image = image(section, "ButtonImage");
            b.Trans = 1; // caption buttons are always drawn with the key
            if (b.Frame == 0) {
                b.Frame = 6;
                if (!b.Image.isNull()) {
                    const double ratio = static_cast<double>(b.Image.width()) / b.Image.height();
                    b.Frame = ratio <= 3.8 ? 3 : 6;
                    if (b.Action < 0)
                        b.Frame = 6;
                }
                if (b.Action == 3 || b.Action == 11)
                    b.Image = QImage();
            }
            model_.CaptionButtons.push_back(std::move(b));
        }

        const QImage mdi = image("MDICONTROLS", "Image");
        const int w = mdi.width() / 12;
        const int h = mdi.height();
        static constexpr const char* mdiNames[] = {"MDIMINIMIZE", "MDIRESTORE", "MDICLOSE"};
        for (int i = 0; i < 3; ++i) {
            TDataSkinSysButton b;
            b.Name = mdiNames[i];
            b.Action = 7 + i;
            b.Align = 100;
            b.Visibility = 100;
            b.Visibility1 = 100;
            b.Frame = 4;
            b.Trans = 1;
            if (!mdi.isNull() && w > 0) {
                b.Image = mdi.copy(4 * w * i, 0, 4 * w, h);
                b.XCoord = (w + 4) * (3 - i);
            }
            model_.CaptionButtons.push_back(std::move(b));
        }
    }

    void readButtons() {
        TDataSkinButton& b = model_.Buttons;
        b = TDataSkinButton{};
        const char* s = "Buttons";
        b.Name = s;
        b.LeftWidth = num(s, "LeftWidth", 0);
        b.RightWidth = num(s, "RightWidth", 0);
        b.TopHeight = num(s, "TopHeight", 0);
        b.BottomHeight = num(s, "BottomHeight", 0);
        b.Trans = num(s, "Trans", 0);
        b.Image = image(s, "Bitmap");
        b.Tile = num(s, "Tile", 0);
        if (b.Tile > 1)
            b.Tile = 0;
        b.CheckButton = image(s, "CheckButton");
        b.RadioButton = image(s, "RadioButton");
        b.NormalColour = num(s, "NormalColour", NoColour);
        b.MouseOverColour = num(s, "MouseOverColour", NoColour);
        b.PressedColour = num(s, "PressedColour", NoColour);
        b.RadioButtonFrame = num(s, "RadioButtonFrame", 0);
        b.CheckButtonFrame = num(s, "CheckButtonFrame", 0);
        b.NormalColour2 = secondColour(s, "NormalColour2", &b.NormalColour2Given);
        b.MouseOverColour2 = secondColour(s, "MouseOverColour2", &b.MouseOverColour2Given);
        b.PressedColour2 = secondColour(s, "PressedColour2", &b.PressedColour2Given);
    }

    void readTitle() {
        TDataSkinTitle& t = model_.Title;
        t = TDataSkinTitle{};
        const char* s = "Personality";
        t.Name = "Title";
        t.Image = image(s, "TextBack");
        t.LeftWidth = num(s, "TextShift", 0);
        t.TopHeight = num(s, "TextShiftVert", 0);
        t.RightWidth = num(s, "TextRightClip", 0);
        t.BottomHeight = 0;
        t.TextAlignment = num(s, "TextAlignment", 0);
        t.Textbackground = num(s, "Textbackground", 0);
        t.TXTBackleft = num(s, "TXTBackleft", 0);
        t.TXTBackRight = num(s, "TXTBackRight", 0);
        t.FontHeight = num("Fonts", "FontHeight", 14);
        auto rgb = [&](const std::string& key, SkinColour& out) {
            const int r = num(s, key + "R", -1);
            const int g = num(s, key + "G", -1);
            const int b = num(s, key + "B", -1);
            if (r >= 0 && g >= 0 && b >= 0)
                out = rgbColour(r, g, b);
        };
        rgb("ActiveText", t.ActiveText);
        rgb("InActiveText", t.InActiveText);
    }

    void readOptionalObjects() {
        SkinModel& m = model_;
        {
            TDataSkinBorder o;
            if (readGeneric(o, "Progress", false, "Bitmap")) {
                // The generic reader drops Tile above 1 to 0; Progress keeps 1.
                o.Tile = std::min(num("Progress", "Tile", 0), 1);
                o.Frame = o.Style != 0 ? 1 : 2;
                m.Progress = std::move(o);
            }
        }
        m.ProgressChunk = generic<TDataSkinObject>("Progress.Chunk");
        if (const AnsiString file = str("Personality", "menuBar"); !file.empty()) {
            TDataSkinObject o;
            o.Name = "Personality";
            o.Image = readSkinImage(reader_, file);
            o.Tile = std::min(num("Personality", "TileMenu", 1), 1);
            o.LeftWidth = num("Personality", "TileLeftMenu", 1);
            o.RightWidth = num("Personality", "TileRightMenu", 1);
            o.Frame = 2;
            m.Personality = std::move(o);
        }
        m.GroupBoxEdge = generic<TDataSkinObject>("GroupBoxEdge", 2);
        {
            TDataSkinBoxLabel o;
            if (readGeneric(o, "GroupBox")) {
                o.BackgroundAlignment = num("GroupBox", "BackgroundAlignment", 0);
                o.BackgroundLeftShift = num("GroupBox", "BackgroundLeftShift", 0);
                o.BackgroundRightShift = num("GroupBox", "BackgroundRightShift", 0);
                o.Frame = 1;
                m.GroupBox = std::move(o);
            }
        }
        m.Tabs = border("Tabs", "Border", 5);
        m.StatusBarEdges = generic<TDataSkinObject>("StatusBarEdges", 3);
        m.TabPane = generic<TDataSkinObject>("Tab.Pane", 1);
        if (m.TabPane) {
            for (auto* margin : {&m.TabPane->LeftWidth, &m.TabPane->TopHeight,
                                 &m.TabPane->RightWidth, &m.TabPane->BottomHeight})
                *margin = std::min(*margin, 4);
        }
        m.ToolBars = generic<TDataSkinObject>("ToolBars", 5);
        m.ComboButton = border("ComboButton", "****", 4);
        if (m.ComboButton && !m.ComboButton->Image.isNull())
            m.ComboButton->Image2 =
                m.ComboButton->Image.convertToFormat(QImage::Format_RGB32).mirrored(true, false);
        m.SunkEdge = generic<TDataSkinObject>("SunkEdge", 4);
        m.ExtraImages = generic<TDataSkinObject>("ExtraImages", 5);
        m.Headerbar = generic<TDataSkinObject>("Headerbar");
        if (m.Headerbar && m.Headerbar->Frame == 0)
            m.Headerbar->Frame = 5;
        m.MenuItem = generic<TDataSkinObject>("MenuItem", 5);
        m.MenuBackground = generic<TDataSkinObject>("MenuBackground", 1);
        m.Scrollbar = generic<TDataSkinObject>("Scrollbar", 23);
        m.HorzScroll = generic<TDataSkinObject>("HorzScroll", 4);
        m.VertScroll = generic<TDataSkinObject>("VertScroll", 4);
        for (auto [slot, section] : {std::pair{&m.HorzScrollThumb, "HorzScrollThumb"},
                                     std::pair{&m.VertScrollThumb, "VertScrollThumb"}}) {
            *slot = generic<TDataSkinObject>(section);
            if (*slot)
                (*slot)->Frame = num(section, "FrameCount", 3);
        }
        m.TrackbarThumbHorz = generic<TDataSkinObject>("Trackbar.ThumbHorz", 5);
        m.TrackbarThumbVert = generic<TDataSkinObject>("Trackbar.ThumbVert", 5);
        m.TrackbarThumbLeft = generic<TDataSkinObject>("Trackbar.ThumbLeft", 5);
        m.TrackbarThumbRight = generic<TDataSkinObject>("Trackbar.ThumbRight", 5);
        m.TrackbarThumbUp = generic<TDataSkinObject>("Trackbar.ThumbUp", 5);
        m.TrackbarThumbDown = generic<TDataSkinObject>("Trackbar.ThumbDown", 5);
        m.UpDownHorz = border("UpDown.Horz", "GlyphImage", 8);
        m.UpDownVert = border("UpDown.Vert", "GlyphImage", 8);

        for (auto [slot, section, vertical] :
             {std::tuple{&m.Track, "Track", false}, std::tuple{&m.TrackVert, "TRACKVERT", true}}) {
            auto read = generic<TDataSkinObject>(section);
            if (read && !read->Image.isNull()) {
                *slot = std::move(*read);
                continue;
            }
            // No usable image: the built-in light channel.
            TDataSkinObject o;
            o.Name = section;
            o.Image = builtinTrackImage(vertical);
            o.LeftWidth = o.TopHeight = o.RightWidth = o.BottomHeight = 3;
            o.Tile = 0;
            o.Frame = 1;
            o.NormalColour2 = o.MouseOverColour2 = o.PressedColour2 = buttonText();
            *slot = std::move(o);
        }
    }

    void setStateCounts() {
        SkinModel& m = model_;
        m.Buttons.Frame = 5;
        m.Title.Frame = 2;
        auto glyphFrames = [](const QImage& image) {
            const int cell = image.height() < 16 ? 13 : 16;
            return std::max(image.width() / cell, 4);
        };
        if (m.Buttons.RadioButtonFrame == 0)
            m.Buttons.RadioButtonFrame = glyphFrames(m.Buttons.RadioButton);
        if (m.Buttons.CheckButtonFrame == 0)
            m.Buttons.CheckButtonFrame = glyphFrames(m.Buttons.CheckButton);

        // Every painter divides an image by its state count: a count the
        // skin gave as 0 or less means a single state.
        auto atLeastOne = [](TDataSkinObject& o) { o.Frame = std::max(o.Frame, 1); };
        for (auto* o :
             {static_cast<TDataSkinObject*>(&m.Left), static_cast<TDataSkinObject*>(&m.Right),
              static_cast<TDataSkinObject*>(&m.Top), static_cast<TDataSkinObject*>(&m.Bottom),
              &m.Track, &m.TrackVert})
            atLeastOne(*o);
        for (auto* o : {&m.ProgressChunk, &m.HorzScrollThumb, &m.VertScrollThumb})
            if (*o)
                atLeastOne(**o);
        for (auto& b : m.CaptionButtons)
            atLeastOne(b);
    }

    SkinColour captionColourSample() const {
        const QImage& top = model_.Top.Image;
        if (top.isNull())
            return model_.Colours[SlotButtonFace].value;
        const int x = top.width() / 3;
        const int y = (top.height() / std::max(model_.Top.Frame, 1)) / 3;
        const QRgb p = top.pixel(x, y);
        return rgbColour(qRed(p), qGreen(p), qBlue(p));
    }

    void buildComboComposite() {
        SkinModel& m = model_;
        const bool composite = m.SunkEdge && m.ComboButton;
        TDataSkinObject arrow;
        arrow.Name = "ComboxArrow";
        if (composite) {
            const int a = env_.scrollArrowSize + 2;
            const int n = std::max(m.SunkEdge->Frame, 1);
            constexpr int cellWidth = 50, cellHeight = 21;
            QImage image(cellWidth * n, cellHeight, QImage::Format_RGB32);
            image.fill(KeyColour);
            const QRect buttonRect(cellWidth - a, 0, a, cellHeight);
            for (int k = 1; k <= n; ++k) {
                QImage cell(cellWidth, cellHeight, QImage::Format_RGB32);
                cell.fill(KeyColour);
                DrawSkinObject(cell, cell.rect(), *m.SunkEdge, k);
                const TDataSkinBorder& button = *m.ComboButton;
                DrawSkinImage(cell, buttonRect, button.Image, false, button.Tile == 1, true,
                              button.Frame, k, SkinMargins::of(button));
                if (m.ExtraImages)
                    DrawSkinImageCentred(cell, buttonRect, m.ExtraImages->Image, false, true,
                                         m.ExtraImages->Frame, k);
                const QRect inner = QRect(QPoint(2, 2), QPoint(49 - a - 1, 17));
                if (inner.isValid())
                    for (int y = inner.top(); y <= inner.bottom(); ++y)
                        for (int x = inner.left(); x <= inner.right(); ++x)
                            cell.setPixel(x, y, KeyColour);
                for (int y = 0; y < cellHeight; ++y)
                    std::copy_n(reinterpret_cast<const QRgb*>(cell.constScanLine(y)), cellWidth,
                                reinterpret_cast<QRgb*>(image.scanLine(y)) + cellWidth * (k - 1));
            }
            TDataSkinBorder& button = *m.ComboButton;
            button.Style = 2;
            button.LeftWidth = 2;
            button.TopHeight = m.SunkEdge->TopHeight;
            button.RightWidth = a + 2;
            button.BottomHeight = m.SunkEdge->BottomHeight;
            button.Image = image;
            m.SunkEdge->Image = image.mirrored(true, false);
            m.SunkEdge->LeftWidth = a + 2;
            m.SunkEdge->RightWidth = 2;

            arrow.Image = QImage(17 * n, 17, QImage::Format_RGB32);
            for (int k = 1; k <= n; ++k)
                for (int y = 0; y < 17; ++y)
                    for (int x = 0; x < 17; ++x)
                        arrow.Image.setPixel(17 * (k - 1) + x, y,
                                             image.pixel(50 * k - 19 + x, 2 + y));
            arrow.Frame = n;
        } else if (m.ComboButton) {
            const QRgb face = m.qcolour(SlotButtonFace).rgb();
            arrow.Image = m.ComboButton->Image.convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < arrow.Image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(arrow.Image.scanLine(y));
                for (int x = 0; x < arrow.Image.width(); ++x)
                    if (isKey(line[x]))
                        line[x] = face;
            }
            arrow.Frame = m.ComboButton->Frame;
        }
        arrow.Frame = std::max(arrow.Frame, 1);
        m.ComboxArrow = std::move(arrow);
    }

    void buildToolbar(SkinColour captionSample) {
        SkinModel& m = model_;
        const SkinColour white = rgbColour(255, 255, 255);
        const SkinColour c = m.System.resolve(captionSample);
        const SkinColour upperColour = blendColour(m.colour(SlotButtonFace), white, 150);
        const int s = colourSaturation(c);
        const SkinColour lowerColour = s > 110 ? blendColour(c, white, (5625 - 25 * s) / 140 + 50)
                                               : blendColour(rgbColour(128, 128, 128), c, 150);
        TDataSkinObject toolbar;
        toolbar.Name = "Toolbar";
        toolbar.Frame = 1;
        toolbar.Image = QImage(10, 40, QImage::Format_RGB32);
        const auto ramp = gradientRamp(40, upperColour, lowerColour);
        for (int y = 0; y < 40; ++y) {
            const SkinColour rc = ramp[static_cast<size_t>(y)];
            const QRgb row = qRgb(redOf(rc), greenOf(rc), blueOf(rc));
            auto* line = reinterpret_cast<QRgb*>(toolbar.Image.scanLine(y));
            std::fill(line, line + 10, row);
        }
        m.Toolbar = std::move(toolbar);
    }

    const TQuickIni& ini_;
    const TSkinReader& reader_;
    const SkinEnvironment& env_;
    SkinModel model_;
};

} // namespace

QImage builtinTrackImage(bool vertical) {
    return vertical ? builtinTrack(4, 16) : builtinTrack(16, 4);
}

SkinModel BuildSkinModel(const TQuickIni& ini, const TSkinReader& reader,
                         const SkinEnvironment& environment) {
    return Builder(ini, reader, environment).build();
}

const TDataSkinObject* SkinModel::find(std::string_view name) const {
    const std::string wanted = text::toUpperAscii(name);
    auto optional = [](const auto& o) -> const TDataSkinObject* { return o ? &*o : nullptr; };
    const std::pair<const char*, const TDataSkinObject*> objects[] = {
        {"BUTTONS", &Buttons},
        {"LEFT", &Left},
        {"RIGHT", &Right},
        {"TOP", &Top},
        {"BOTTOM", &Bottom},
        {"TITLE", &Title},
        {"PROGRESS", optional(Progress)},
        {"PROGRESS.CHUNK", optional(ProgressChunk)},
        {"PERSONALITY", optional(Personality)},
        {"GROUPBOXEDGE", optional(GroupBoxEdge)},
        {"GROUPBOX", optional(GroupBox)},
        {"TABS", optional(Tabs)},
        {"STATUSBAREDGES", optional(StatusBarEdges)},
        {"TAB.PANE", optional(TabPane)},
        {"TOOLBARS", optional(ToolBars)},
        {"COMBOBUTTON", optional(ComboButton)},
        {"SUNKEDGE", optional(SunkEdge)},
        {"EXTRAIMAGES", optional(ExtraImages)},
        {"HEADERBAR", optional(Headerbar)},
        {"MENUITEM", optional(MenuItem)},
        {"MENUBACKGROUND", optional(MenuBackground)},
        {"SCROLLBAR", optional(Scrollbar)},
        {"HORZSCROLL", optional(HorzScroll)},
        {"VERTSCROLL", optional(VertScroll)},
        {"HORZSCROLLTHUMB", optional(HorzScrollThumb)},
        {"VERTSCROLLTHUMB", optional(VertScrollThumb)},
        {"TRACKBAR.THUMBHORZ", optional(TrackbarThumbHorz)},
        {"TRACKBAR.THUMBVERT", optional(TrackbarThumbVert)},
        {"TRACKBAR.THUMBLEFT", optional(TrackbarThumbLeft)},
        {"TRACKBAR.THUMBRIGHT", optional(TrackbarThumbRight)},
        {"TRACKBAR.THUMBUP", optional(TrackbarThumbUp)},
        {"TRACKBAR.THUMBDOWN", optional(TrackbarThumbDown)},
        {"UPDOWN.HORZ", optional(UpDownHorz)},
        {"UPDOWN.VERT", optional(UpDownVert)},
        {"TRACK", &Track},
        {"TRACKVERT", &TrackVert},
        {"COMBOXARROW", &ComboxArrow},
        {"TOOLBAR", &Toolbar},
    };
    for (const auto& [key, object] : objects)
        if (wanted == key)
            return object;
    return nullptr;
}

} // namespace zorvia::skin
