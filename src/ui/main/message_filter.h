#pragma once

#include <QObject>

#include <functional>

class QEvent;

namespace zorvia::ui {

// The application's message event: one filter that sees every event before
// it reaches its receiver, from its creation until it is destroyed (modal
// loops included). OnMessage sets handled to drop the event.
class TApplicationEvents : public QObject {
    Q_OBJECT
public:
    using MessageHandler = std::function<void(QObject* target, QEvent* event, bool& handled)>;

    TApplicationEvents();
    ~TApplicationEvents() override;
    TApplicationEvents(const TApplicationEvents&) = delete;
    TApplicationEvents& operator=(const TApplicationEvents&) = delete;

    MessageHandler OnMessage;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Keys that reach the page of the active tab only while a Flash movie there
// has the keyboard focus: Enter and the four arrow keys (keypad ones
// included).
bool isBlockedPageKey(int key);

} // namespace zorvia::ui
