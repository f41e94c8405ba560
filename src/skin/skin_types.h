#pragma once

#include <cstdint>
#include <initializer_list>

// The enumerations of the skin component's published properties.
namespace zorvia {

// Kinds of control and menu the skin may take over (member order = bit order).
enum class TSkinControlType {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcReportDesigner,
};

// Behaviour switches (member order = bit order).
enum class TSkinOption {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoToolbarButton,
    xoMDIChildBorder,
    xoMenuBG,
    xoCaptionButtonHint,
    xoFormScrollbar,
};

// Scope of a skin component.
enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// A set of enumeration members stored as bits.
template <typename E>
class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> members) {
        for (E m : members)
            include(m);
    }
    static constexpr EnumSet allUpTo(E last) {
        EnumSet s;
        s.bits_ = (std::uint32_t{1} << (static_cast<int>(last) + 1)) - 1;
        return s;
    }
    constexpr bool has(E m) const { return (bits_ & bit(m)) != 0; }
    constexpr void include(E m) { bits_ |= bit(m); }
    constexpr void exclude(E m) { bits_ &= ~bit(m); }
    constexpr std::uint32_t bits() const { return bits_; }
    constexpr bool operator==(const EnumSet&) const = default;

private:
    static constexpr std::uint32_t bit(E m) { return std::uint32_t{1} << static_cast<int>(m); }
    std::uint32_t bits_ = 0;
};

using TSkinControls = EnumSet<TSkinControlType>;
using TSkinOptions = EnumSet<TSkinOption>;

} // namespace zorvia
