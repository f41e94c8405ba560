#pragma once

#include <QObject>
#include <QPointer>

class QHeaderView;
class QPainter;

namespace zorvia {

class TSkinData;

// Paints the sections of a list's header from the skin's "Headerbar"
// object: normal, pointer over and pressed. Owned by the header.
class TSkinHeader : public QObject {
    Q_OBJECT
public:
    enum State { Normal = 1, Hot = 2, Pressed = 3 };

    TSkinHeader(QHeaderView* header, const TSkinData& data);

    void paint(QPainter& p);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QHeaderView> header_;
    const TSkinData& data_;
    int hot_ = -1;
    int pressed_ = -1;
};

} // namespace zorvia
