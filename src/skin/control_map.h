#pragma once

#include <QWidget>

#include <functional>

namespace zorvia {

class TSkinControl;
class TSkinData;
class TWinSkinForm;

// The control skinners the mapping can choose.
enum class SkinnerKind {
    None,      // left alone
    Custom,    // chosen by the OnSkinControl event
    Container, // no skinner; its child controls are mapped
    Button,
    BitButton,
    SpeedButton,
    MenuButton,
    CheckBox,
    RadioButton,
    ComboBox,
    ComboBoxEx,
    Edit,
    DateTime,
    Progress,
    TrackBar,
    UpDown,
    Tab,        // a page control's tabs
    TabControl, // a tab control without pages
    TabSheet,
    AdvPage,
    GroupBox,
    Box, // a panel: the ButtonFace colour
    Scrollbar,
    ListView,
    MediaPlayer,
};

// Makes the skinner of one kind for a control (null when the control is not
// of the widget class the skinner paints); the skinner is owned by the
// control. A kind without a factory leaves its controls as they are.
using SkinnerFactory =
    std::function<QObject*(QWidget* control, TSkinData& data, TWinSkinForm& form)>;
void registerSkinner(SkinnerKind kind, SkinnerFactory factory);
const SkinnerFactory* skinnerFactory(SkinnerKind kind);
// Registers the control skinners of skin/controls (once per process).
void registerControlSkinners();

} // namespace zorvia
