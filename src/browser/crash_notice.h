#pragma once

#include <QFrame>

#include <functional>

class QLabel;
class QPushButton;

namespace zorvia::browser {

// What a browser shows in place of its page when the page's renderer
// process ended abnormally: a message and a button that reloads the page.
// It covers its parent and follows its size.
class CrashNotice : public QFrame {
    Q_OBJECT
public:
    static const QString kMessage;
    static const QString kReload;

    CrashNotice(QWidget* parent, std::function<void()> reload);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* message_;
    QPushButton* reload_;
};

} // namespace zorvia::browser
