#pragma once

#include <QObject>

#include <functional>

namespace zorvia::ui {

class TListBox;

// The mouse of a game list, handed to the window's handlers with the list
// as sender and the position in the list's client area. Presses and
// releases are the handlers' alone: the list's own click selection does not
// run, so what the handlers select is what the list shows.
struct ListMouseHandlers {
    using Button = std::function<void(QObject* sender, Qt::MouseButton button,
                                      Qt::KeyboardModifiers shift, int x, int y)>;
    using Move = std::function<void(QObject* sender, Qt::KeyboardModifiers shift, int x, int y)>;
    Button down;
    Button up;
    Move move; // empty: the list has no mouse-move handler
};

// Installed on the list's viewport; owned by the list.
class ListMouseFilter : public QObject {
    Q_OBJECT
public:
    ListMouseFilter(ui::TListBox* list, ListMouseHandlers handlers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ui::TListBox* list_;
    ListMouseHandlers handlers_;
};

} // namespace zorvia::ui
