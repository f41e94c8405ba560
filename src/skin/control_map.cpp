// The control side of a frame skinner: which skinner each control gets.
#include "skin/control_map.h"

#include "skin/popup_menu.h"
#include "skin/skin_control.h"
#include "skin/skin_data.h"
#include "skin/skin_events.h"
#include "skin/win_skin_form.h"
#include "text/ascii_case.h"

#include <QAbstractScrollArea>
#include <QMenu>

#include <map>

namespace zorvia {

namespace {

std::map<SkinnerKind, SkinnerFactory>& factories() {
    static std::map<SkinnerKind, SkinnerFactory> map;
    return map;
}

// The controls of a window definition carry a component name; the parts
// Qt's widgets are built of do not (or carry one beginning with "qt_").
bool isComponent(const QWidget* w) {
    const QString name = w->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && !w->isWindow() &&
           name != QLatin1String("SkinClient") && name != QLatin1String("SkinFrame");
}

bool scrollable(const QWidget* w) {
    const auto* area = qobject_cast<const QAbstractScrollArea*>(w);
    return area && (area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff ||
                    area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
}

} // namespace

void registerSkinner(SkinnerKind kind, SkinnerFactory factory) {
    factories()[kind] = std::move(factory);
}

const SkinnerFactory* skinnerFactory(SkinnerKind kind) {
    const auto& map = factories();
    const auto it = map.find(kind);
    return it == map.end() ? nullptr : &it->second;
}

std::vector<QObject*> TWinSkinForm::controlSkinners() const {
    std::vector<QObject*> out;
    for (const auto& s : skinners_)
        if (s)
            out.push_back(s);
    return out;
}

void TWinSkinForm::SkinFormControls(QWidget* form) {
    std::erase_if(skinners_, [](const auto& s) { return s.isNull(); });
    const QWidgetList all = form->findChildren<QWidget*>();
    for (QWidget* control : all)
        if (isComponent(control) && control->window() == form)
            SkinControl(control, form);

    // The popup menus the form owns draw from the skin too.
    if (data_->SkinControls.has(TSkinControlType::xcPopupMenu) && className_ != "TwwRichEditForm")
        for (QMenu* menu : form->findChildren<QMenu*>())
            if (skin::tagOf(menu) != data_->DisableTag && !skin::isSkinned(menu))
                menus_.emplace_back(new TWinSkinPopMenu(menu, *data_, menu));
}

SkinnerKind TWinSkinForm::SkinControl(QWidget* control, QWidget* parent) {
    const AnsiString cls = skin::controlClassName(control);
    if (skin::tagOf(control) == data_->DisableTag) {
        const std::string lower = text::toLowerAscii(cls);
        if (lower.find("radiogroup") != std::string::npos ||
            lower.find("checkgroup") != std::string::npos)
            for (QWidget* item : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                item->setProperty(skin::TagProperty, data_->DisableTag);
        return SkinnerKind::None;
    }
    if (!control->parentWidget() || skin::isSkinned(control))
        return SkinnerKind::None;
    for (const auto& s : skinners_)
        if (s && s->parent() == control)
            return SkinnerKind::None;

    if (data_->OnSkinControl) {
        TSkinControl* chosen = nullptr;
        data_->OnSkinControl(*this, *data_, parent, control, text::toUpperAscii(cls), chosen);
        if (chosen) {
            chosen->AttachControl();
            skinners_.emplace_back(chosen);
            if (cls == "TPanel")
                for (QWidget* child : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    SkinControl(child, parent);
            return SkinnerKind::Custom;
        }
    }
    if (const auto kind = skin3rdKind(cls)) {
        attachSkinner(*kind, control);
        if (*kind == SkinnerKind::Scrollbar || *kind == SkinnerKind::Container)
            for (QWidget* child : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (isComponent(child))
                    SkinControl(child, parent);
        return *kind;
    }
    const std::string upper = text::toUpperAscii(cls);
    if (upper == "TDBCOMBOBOXEH" || upper == "TFRDESIGNERPAGE" || upper == "TFRPBOX")
        return SkinnerKind::None;
    return mapByClass(control, cls);
}

SkinnerKind TWinSkinForm::mapByClass(QWidget* control, const AnsiString& cls) {
    const TSkinControls& kinds = data_->SkinControls;
    const bool tabs = kinds.has(TSkinControlType::xcTab) && data_->Model().Tabs.has_value();
    auto needs = [&](TSkinControlType option, SkinnerKind kind) {
        return kinds.has(option) ? attachSkinner(kind, control) : SkinnerKind::None;
    };
    if (cls == "TPageControl")
        return tabs ? attachSkinner(SkinnerKind::Tab, control) : SkinnerKind::None;
    if (cls == "TTabControl")
        return tabs ? attachSkinner(SkinnerKind::TabControl, control) : SkinnerKind::None;
    if (cls == "TTabSheet")
        return tabs ? attachSkinner(SkinnerKind::TabSheet, control) : SkinnerKind::None;
    if (cls == "TPanel") {
        if (!kinds.has(TSkinControlType::xcPanel))
            return SkinnerKind::None;
        for (QWidget* child : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (isComponent(child))
                SkinControl(child, control->window());
        return attachSkinner(SkinnerKind::Box, control);
    }
    if (cls == "TListView")
        return needs(TSkinControlType::xcScrollbar, SkinnerKind::ListView);
    if (cls == "TMemo" || cls == "TListBox" || scrollable(control))
        return needs(TSkinControlType::xcScrollbar, SkinnerKind::Scrollbar);
    if (cls == "TButton")
        return needs(TSkinControlType::xcButton, SkinnerKind::Button);
    if (cls == "TEdit")
        return needs(TSkinControlType::xcEdit, SkinnerKind::Edit);
    // As for the progress bars of windows outside the class library.
    if (cls == "TProgressBar")
        return needs(TSkinControlType::xcProgress, SkinnerKind::Progress);
    return SkinnerKind::None;
}

std::optional<SkinnerKind> TWinSkinForm::skin3rdKind(const AnsiString& className) const {
    const std::string key = text::toLowerAscii(className) + "=";
    for (const AnsiString& line : data_->Skin3rd()) {
        const std::string lower = text::toLowerAscii(line);
        if (!lower.starts_with(key))
            continue;
        const std::string kind = lower.substr(key.size(), 50);
        if (kind == "container")
            return SkinnerKind::Container;
        const TSkinControls& k = data_->SkinControls;
        using T = TSkinControlType;
        struct Row {
            const char* kind;
            T option;
            SkinnerKind skinner;
        };
        static constexpr Row rows[] = {
            {"combobox", T::xcCombo, SkinnerKind::ComboBox},
            {"comboboxex", T::xcCombo, SkinnerKind::ComboBoxEx},
            {"edit", T::xcEdit, SkinnerKind::Edit},
            {"radiobutton", T::xcRadioButton, SkinnerKind::RadioButton},
            {"panel", T::xcPanel, SkinnerKind::Box},
            {"trackbar", T::xcButton, SkinnerKind::TrackBar},
            {"button", T::xcButton, SkinnerKind::Button},
            {"datetimepicker", T::xcCombo, SkinnerKind::DateTime},
            {"mediaplayer", T::xcButton, SkinnerKind::MediaPlayer},
            {"bitbtn", T::xcButton, SkinnerKind::BitButton},
            {"pngbitbtn", T::xcButton, SkinnerKind::BitButton},
            {"pngspeedbutton", T::xcButton, SkinnerKind::SpeedButton},
            {"menubtn", T::xcButton, SkinnerKind::MenuButton},
            {"speedbutton", T::xcSpeedButton, SkinnerKind::SpeedButton},
            {"tab", T::xcTab, SkinnerKind::Tab},
            {"progress", T::xcProgress, SkinnerKind::Progress},
            {"scrollbar", T::xcScrollbar, SkinnerKind::Scrollbar},
            {"singlescrollbar", T::xcScrollbar, SkinnerKind::Scrollbar},
            {"embedscrollbar", T::xcScrollbar, SkinnerKind::Scrollbar},
            {"groupbox", T::xcGroupBox, SkinnerKind::GroupBox},
            {"advpagecontrol", T::xcTab, SkinnerKind::AdvPage},
            {"radiogroup", T::xcGroupBox, SkinnerKind::GroupBox},
            {"checkgroup", T::xcPanel, SkinnerKind::GroupBox},
            {"checkbox", T::xcCheckBox, SkinnerKind::CheckBox},
        };
        for (const Row& row : rows) {
            if (kind != row.kind)
                continue;
            if (!k.has(row.option))
                return SkinnerKind::None;
            if (row.skinner == SkinnerKind::Tab && !data_->Model().Tabs)
                return SkinnerKind::None;
            return row.skinner;
        }
        // "nil", an unknown kind: handled, and left alone.
        return SkinnerKind::None;
    }
    return std::nullopt;
}

bool TWinSkinForm::SkinBySkin3rd(const AnsiString& className, QWidget* control) {
    const auto kind = skin3rdKind(className);
    if (!kind)
        return false;
    attachSkinner(*kind, control);
    return true;
}

SkinnerKind TWinSkinForm::attachSkinner(SkinnerKind kind, QWidget* control) {
    if (kind == SkinnerKind::None || kind == SkinnerKind::Container)
        return kind;
    if (const SkinnerFactory* factory = skinnerFactory(kind))
        if (QObject* skinner = (*factory)(control, *data_, *this)) {
            if (auto* base = qobject_cast<TSkinControl*>(skinner))
                base->AttachControl();
            skinners_.emplace_back(skinner);
        }
    return kind;
}

} // namespace zorvia
