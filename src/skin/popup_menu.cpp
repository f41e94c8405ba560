#include "skin/popup_menu.h"

#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/skin_events.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace zorvia {

namespace {

// Menu states of the "MenuItem" object.
constexpr int kItemHot = 2;
constexpr int kItemDisabledHot = 3;

class SkinMenuStyle : public QProxyStyle {
public:
    explicit SkinMenuStyle(const skin::SkinModel& model)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), model_(model) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* p,
                       const QWidget* widget) const override {
        if (element == PE_PanelMenu || element == PE_FrameMenu) {
            if (model_.MenuBackground)
                skin::DrawSkinObject(*p, option->rect, *model_.MenuBackground, 1);
            else
                p->fillRect(option->rect, model_.qcolour(skin::SlotMenu));
            return;
        }
        QProxyStyle::drawPrimitive(element, option, p, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        // The background's outline shows around the items.
        if (metric == PM_MenuPanelWidth && model_.MenuBackground)
            return 1;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* p,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuItem || !item) {
            QProxyStyle::drawControl(element, option, p, widget);
            return;
        }
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            const int y = item->rect.center().y();
            p->setPen(model_.qcolour(skin::SlotButtonShadow));
            p->drawLine(item->rect.left() + 4, y, item->rect.right() - 4, y);
            return;
        }
        const bool enabled = item->state.testFlag(State_Enabled);
        const bool hot = item->state.testFlag(State_Selected);
        if (hot && model_.MenuItem)
            skin::DrawSkinObject(*p, item->rect, *model_.MenuItem,
                                 enabled ? kItemHot : kItemDisabledHot);
        else if (hot)
            p->fillRect(item->rect, model_.qcolour(skin::SlotHilight));
        // The text and its shortcut, in the skin's colours.
        QStyleOptionMenuItem text = *item;
        const QColor colour = !enabled                  ? model_.qcolour(skin::SlotButtonShadow)
                              : hot && !model_.MenuItem ? model_.qcolour(skin::SlotHilightText)
                                                        : model_.qcolour(skin::SlotMenuText);
        text.palette.setColor(QPalette::Text, colour);
        text.palette.setColor(QPalette::WindowText, colour);
        text.palette.setColor(QPalette::ButtonText, colour);
        text.palette.setColor(QPalette::HighlightedText, colour);
        text.palette.setColor(QPalette::Highlight, Qt::transparent);
        text.palette.setColor(QPalette::Window, Qt::transparent);
        text.palette.setColor(QPalette::Button, Qt::transparent);
        text.state.setFlag(State_Selected, false);
        text.state.setFlag(State_Enabled, true);
        QProxyStyle::drawControl(element, &text, p, widget);
    }

private:
    const skin::SkinModel& model_;
};

} // namespace

TWinSkinPopMenu::TWinSkinPopMenu(QMenu* menu, TSkinData& data, QObject* parent)
    : QObject(parent), menu_(menu), style_(std::make_unique<SkinMenuStyle>(data.Model())) {
    setObjectName("TWinSkinPopMenu");
    menu->installEventFilter(this);
    menu->setStyle(style_.get());
    menu->update();
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
    if (!menu_)
        return;
    menu_->removeEventFilter(this);
    menu_->setStyle(nullptr);
}

bool TWinSkinPopMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == menu_ && event->type() == skin::SKM_ISSKINNED) {
        static_cast<skin::IsSkinnedQuery*>(event)->answer = 1;
        return true;
    }
    return false;
}

} // namespace zorvia
