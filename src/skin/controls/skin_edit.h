#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>

class QLineEdit;

namespace zorvia {

class TSkinData;

namespace skin {
struct SkinModel;
}

// Draws a one-line edit's frame from the skin's "SunkEdge" object: normal,
// pointer over, focused and disabled. Owned by the edit.
class TSkinEdit : public QObject {
    Q_OBJECT
public:
    enum State { Normal = 1, Hot = 2, Focused = 3, Disabled = 4 };

    TSkinEdit(QLineEdit* edit, const TSkinData& data);

    State state() const;
    // The frame images, one state after the other: the edge of "SunkEdge"
    // without the drop-down button the skin model combines into it.
    static QImage frameImage(const skin::SkinModel& model);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QLineEdit> edit_;
    const TSkinData& data_;
    QImage frame_;
    QColor base_;
    bool hot_ = false;
};

} // namespace zorvia
