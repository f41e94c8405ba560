#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zorvia {

// The dialog of a close request of the main window: exit the program or
// keep it running in the notification area. Its modal result is 6 for
// "最小化到托盘", 7 for "退出程序" and 2 when it is closed through its
// title bar. Escape does nothing: no button cancels.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResultMinimize = 6;
    static constexpr int kResultExit = 7;
    static constexpr int kResultClosed = 2;
    static constexpr int kClientWidth = 252;
    static constexpr int kClientHeight = 118;

    explicit TForm3(QWidget* owner);
    ~TForm3() override;

    void Button1Click(QObject* sender);
    void Button2Click(QObject* sender);

    // Closing through the title bar (or the window manager's close key).
    void reject() override;

    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace zorvia
