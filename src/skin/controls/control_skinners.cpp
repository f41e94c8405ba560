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

#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>

#include <utility>

namespace zorvia {

namespace {

// A skinner of class S for a control of class W, or none.
template <class W, class S>
QObject* make(QWidget* control, TSkinData& data, TWinSkinForm& form) {
    auto* widget = qobject_cast<W*>(control);
    return widget ? new S(widget, data, &form) : nullptr;
}

} // namespace

void registerControlSkinners() {
    static bool done = false;
    if (std::exchange(done, true))
        return;
    registerSkinner(SkinnerKind::Button,
                    [](QWidget* control, TSkinData& data, TWinSkinForm& form) -> QObject* {
                        auto* button = qobject_cast<QPushButton*>(control);
                        if (!button)
                            return nullptr;
                        auto* skinner = new TSkinButton(button, data, &form);
                        skinner->setNoFocusRect(data.Options.has(TSkinOption::xoNoFocusRect));
                        skinner->setTransparent(data.Options.has(TSkinOption::xoTransparent));
                        return skinner;
                    });
    registerSkinner(
        SkinnerKind::Tab, [](QWidget* control, TSkinData& data, TWinSkinForm& form) -> QObject* {
            return TSkinTab::canSkin(control) ? new TSkinTab(control, data, &form) : nullptr;
        });
    registerSkinner(SkinnerKind::TabSheet, make<QWidget, TSkinTabSheet>);
    registerSkinner(SkinnerKind::Box, make<QFrame, TSkinBox>);
    registerSkinner(SkinnerKind::Scrollbar, make<QAbstractScrollArea, TSkinScrollbar>);
    // A list view: its scroll bars and its column header.
    registerSkinner(SkinnerKind::ListView,
                    [](QWidget* control, TSkinData& data, TWinSkinForm& form) -> QObject* {
                        if (auto* view = qobject_cast<QTreeView*>(control))
                            (new TSkinHeader(view->header(), data, &form))->AttachControl();
                        return make<QAbstractScrollArea, TSkinScrollbar>(control, data, form);
                    });
    registerSkinner(SkinnerKind::Edit, make<QLineEdit, TSkinEdit>);
    registerSkinner(SkinnerKind::Progress, make<QProgressBar, TSkinProgress>);
}

} // namespace zorvia
