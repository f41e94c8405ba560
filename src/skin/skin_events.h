#pragma once

#include "text/ansi.h"

#include <QEvent>

class QObject;
class QWidget;

// The skin engine's private messages, as custom events, and the few facts the
// engine reads from any widget.
namespace zorvia::skin {

// Sent to a skinned control: switches its skinner on (and repaints) or off.
inline constexpr QEvent::Type SKM_SETENABLED = static_cast<QEvent::Type>(QEvent::User + 0x3506);
// Posted to a window just given a frame skinner: skin its controls now.
inline constexpr QEvent::Type SKM_SKINLATER = static_cast<QEvent::Type>(QEvent::User + 0x3503);
// Sent to ask whether a window or control is skinned already.
inline constexpr QEvent::Type SKM_ISSKINNED = static_cast<QEvent::Type>(QEvent::User + 0x3523);

class SetEnabledEvent : public QEvent {
public:
    explicit SetEnabledEvent(bool on) : QEvent(SKM_SETENABLED), on_(on) {}
    bool on() const { return on_; }

private:
    bool on_;
};

// The already-skinned question: a skinner sets the answer to 1.
class IsSkinnedQuery : public QEvent {
public:
    IsSkinnedQuery() : QEvent(SKM_ISSKINNED) {}
    int answer = 0;
};

// Posted to a window when a caption button with an action of its own is
// clicked.
inline constexpr QEvent::Type SKM_CAPTIONACTION = static_cast<QEvent::Type>(QEvent::User + 0x3514);

class CaptionActionEvent : public QEvent {
public:
    explicit CaptionActionEvent(int action) : QEvent(SKM_CAPTIONACTION), action_(action) {}
    int action() const { return action_; }

private:
    int action_;
};

// True when some skinner of `object` answers the question with 1.
bool isSkinned(QObject* object);
// Switches the skinner of `object` on or off.
void setSkinEnabled(QObject* object, bool on);

// The component Tag of a widget (its "Tag" property), 0 when not set.
int tagOf(const QObject* object);
inline constexpr const char* TagProperty = "Tag";

// The window class name of a top-level widget: the "WindowClass" property
// when set (message boxes set "TMessageForm"), the form's class for our own
// windows, "#32770" for other dialogs.
AnsiString windowClassName(const QWidget* window);
inline constexpr const char* WindowClassProperty = "WindowClass";

// The class name of a control as the skin's mapping sees it.
AnsiString controlClassName(const QObject* control);

} // namespace zorvia::skin
