// The control skinners as the control mapping attaches them.
#include "skin/control_map.h"
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_header.h"
#include "skin/controls/skin_progress.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/skin_tab.h"
#include "skin/skin_data.h"
#include "ui/kit/page_control.h"

#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

namespace zorvia {

namespace {

// A skinner of class S for a control of class W, or none.
template <class W, class S>
QObject* make(QWidget* control, const TSkinData& data) {
    auto* widget = qobject_cast<W*>(control);
    return widget ? new S(widget, data) : nullptr;
}

} // namespace

void registerControlSkinners() {
    static bool done = false;
    if (std::exchange(done, true))
        return;
    registerSkinner(SkinnerKind::Button, [](QWidget* control, TSkinData& data, TWinSkinForm&) {
        auto* skinner = static_cast<TSkinButton*>(make<QPushButton, TSkinButton>(control, data));
        if (skinner) {
            skinner->setNoFocusRect(data.Options.has(TSkinOption::xoNoFocusRect));
            skinner->setTransparent(data.Options.has(TSkinOption::xoTransparent));
        }
        return static_cast<QObject*>(skinner);
    });
    registerSkinner(SkinnerKind::Tab, [](QWidget* control, TSkinData& data, TWinSkinForm&) {
        if (QObject* skinner = make<ui::TPageControl, TSkinTab>(control, data))
            return skinner;
        return make<QTabWidget, TSkinTab>(control, data);
    });
    registerSkinner(SkinnerKind::TabSheet, [](QWidget* control, TSkinData& data, TWinSkinForm&) {
        return static_cast<QObject*>(new TSkinTabSheet(control, data));
    });
    registerSkinner(SkinnerKind::Box, [](QWidget* control, TSkinData& data, TWinSkinForm&) {
        return make<QFrame, TSkinBox>(control, data);
    });
    registerSkinner(SkinnerKind::Scrollbar, [](QWidget* control, TSkinData& data, TWinSkinForm&) {
        return make<QAbstractScrollArea, TSkinScrollbar>(control, data);
    });
    // A list view: its scroll bars and its column header.
    registerSkinner(SkinnerKind::ListView, [](QWidget* control, TSkinData& data, TWinSkinForm&) {
        if (auto* view = qobject_cast<QTreeView*>(control))
            new TSkinHeader(view->header(), data);
        return make<QAbstractScrollArea, TSkinScrollbar>(control, data);
    });
    registerSkinner(SkinnerKind::Edit, [](QWidget* control, TSkinData& data, TWinSkinForm&) {
        return make<QLineEdit, TSkinEdit>(control, data);
    });
    registerSkinner(SkinnerKind::Progress, [](QWidget* control, TSkinData& data, TWinSkinForm&) {
        return make<QProgressBar, TSkinProgress>(control, data);
    });
}

} // namespace zorvia
