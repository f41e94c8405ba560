#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>

#include <memory>

class QStyle;

namespace zorvia {

class TSkinData;

// The skinner of a popup menu: while attached, the menu draws its background
// from the skin's "MenuBackground" object and its items from "MenuItem"
// (the highlighted item in state 2, a disabled one under the pointer in
// state 3), in the skin's menu colours. Sizes stay those of the style.
class TWinSkinPopMenu : public QObject {
    Q_OBJECT
public:
    TWinSkinPopMenu(QMenu* menu, TSkinData& data, QObject* parent);
    ~TWinSkinPopMenu() override;

    QMenu* menu() const { return menu_; }
    bool menuGone() const { return menu_.isNull(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QMenu> menu_;
    std::unique_ptr<QStyle> style_;
};

} // namespace zorvia
