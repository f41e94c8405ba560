#include "skin/controls/skin_button.h"

#include "skin/controls/skin_paint.h"
#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/skin_events.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace zorvia {

namespace {

constexpr int kTransparentTag = 5555;
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextExpandTabs;

// The first "||" of a caption is a line break; later ones stay as written.
QString captionLines(QString caption) {
    const qsizetype at = caption.indexOf(QStringLiteral("||"));
    if (at >= 0)
        caption.replace(at, 2, QChar('\n'));
    return caption;
}

} // namespace

TSkinButton::TSkinButton(QPushButton* button, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(button, data, form), button_(button) {
    button->setAttribute(Qt::WA_Hover, true);
}

void TSkinButton::setNoFocusRect(bool on) {
    noFocusRect_ = on;
    if (button_)
        button_->update();
}

void TSkinButton::setTransparent(bool on) {
    transparent_ = on;
    if (button_)
        button_->update();
}

TSkinButton::State TSkinButton::state() const {
    if (!button_ || !button_->isEnabled())
        return Disabled;
    if (pressed_)
        return Pressed;
    if (hot_)
        return Hot;
    if (button_->hasFocus() || button_->isDefault())
        return Focused;
    return Normal;
}

void TSkinButton::setHot(bool hot) {
    if (hot_ != hot) {
        hot_ = hot;
        button_->update();
    }
}

void TSkinButton::setPressed(bool pressed) {
    if (pressed_ != pressed) {
        pressed_ = pressed;
        button_->update();
    }
}

void TSkinButton::paint(QPainter& target) {
    const skin::SkinModel& model = data().Model();
    const TDataSkinButton& look = model.Buttons;
    if (!button_ || look.Image.isNull())
        return;
    const QRect area = button_->rect();
    QImage work(area.size(), QImage::Format_RGB32);
    {
        QPainter p(&work);
        if (transparent_ || skin::tagOf(button_) == kTransparentTag)
            skin::paintParentBackground(p, button_);
        else
            p.fillRect(area, model.qcolour(skin::SlotButtonFace));

        const State s = state();
        skin::DrawSkinImage(p, area, look.Image, false, look.Tile == 1, look.Trans != 0, 5, s,
                            skin::SkinMargins::of(look));

        QColor colour = model.qcolour(skin::SlotButtonText);
        if (look.NormalColour2Given)
            colour = skin::skinQColour(model, look.NormalColour2);
        if (look.MouseOverColour2Given && s == Hot)
            colour = skin::skinQColour(model, look.MouseOverColour2);
        if (look.PressedColour2Given && s == Pressed)
            colour = skin::skinQColour(model, look.PressedColour2);
        if (s == Disabled)
            colour = skin::systemQColour(model, skin::COLOR_BTNSHADOW);

        const QString text = captionLines(button_->text());
        p.setFont(button_->font());
        const QRect measured = p.boundingRect(area.adjusted(2, 2, -2, -2), kTextFlags, text);
        const int x = (area.width() - measured.width()) / 2;
        const int y = (area.height() - measured.height()) / 2 - 1;
        textRect_ = QRect(x, y, measured.width(), measured.height());
        p.setPen(colour);
        p.setLayoutDirection(button_->layoutDirection());
        p.drawText(textRect_, kTextFlags, text);

        if (button_->hasFocus() && !noFocusRect_) {
            p.setPen(QPen(colour, 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            // Kept clear of the button's edge when the caption fills it.
            p.drawRect(textRect_.adjusted(-2, -2, 2, 2)
                           .intersected(area.adjusted(3, 3, -3, -3))
                           .adjusted(0, 0, -1, -1));
        }
    }
    target.drawImage(0, 0, work);
}

bool TSkinButton::beforeEvent(QEvent* event) {
    if (!TSkinControl::beforeEvent(event))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return true;
        if (!button_->hasFocus() && button_->focusPolicy() & Qt::ClickFocus)
            button_->setFocus(Qt::MouseFocusReason);
        setPressed(true);
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return true;
        if (pressed_) {
            setPressed(false);
            button_->click();
        }
        return false;
    }
    case QEvent::MouseMove: {
        // The pointer leaving the pressed button (the mouse is held by it
        // then, so no leave event comes) ends the press.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!button_->rect().contains(mouse->position().toPoint())) {
            setPressed(false);
            setHot(false);
        } else if (button_->isEnabled()) {
            setHot(true);
        }
        return false;
    }
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        if (button_->isEnabled() &&
            button_->rect().contains(static_cast<QHoverEvent*>(event)->position().toPoint()))
            setHot(true);
        return true;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        setPressed(false);
        setHot(false);
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat())
            setPressed(event->type() == QEvent::KeyPress);
        return true;
    }
    default:
        return true;
    }
}

} // namespace zorvia
