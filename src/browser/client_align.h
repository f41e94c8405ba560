#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace zorvia::browser {

// Keeps a widget filling its parent's client area (the parent's contents
// rectangle) while the parent is resized or the widget changes parent.
// Lives as a child of the widget it aligns.
class ClientAlign : public QObject {
    Q_OBJECT
public:
    explicit ClientAlign(QWidget* widget);

    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchParent();

    QWidget* widget_;
    QPointer<QWidget> parent_;
};

} // namespace zorvia::browser
