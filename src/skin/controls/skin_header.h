#pragma once

#include "skin/skin_control.h"

#include <QPointer>

class QHeaderView;
class QPainter;

namespace zorvia {

// Paints the sections of a list's header from the skin's "Headerbar"
// object: normal, pointer over and pressed. Owned by the header.
class TSkinHeader : public TSkinControl {
    Q_OBJECT
public:
    enum State { Normal = 1, Hot = 2, Pressed = 3 };

    TSkinHeader(QHeaderView* header, TSkinData& data, TWinSkinForm* form = nullptr);

    void paint(QPainter& p);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool viewportEvent(QEvent* event);

    QPointer<QHeaderView> header_;
    int hot_ = -1;
    int pressed_ = -1;
};

} // namespace zorvia
