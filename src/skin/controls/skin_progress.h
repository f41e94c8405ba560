#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QPainter;
class QProgressBar;

namespace zorvia {

class TSkinData;

namespace skin {
struct SkinModel;

// Draws a progress bar from the skin's "Progress" object into `rect`: the
// channel (state 1), and over its first `fraction` (0..1) the bar: state 2
// of "Progress", or "Progress.Chunk" for a skin whose progress image holds
// the channel only. Nothing is drawn without a "Progress" image.
void drawProgress(QPainter& p, const QRect& rect, double fraction, const SkinModel& model);
} // namespace skin

// Paints a progress bar from the skin, its text centred over it. Owned by
// the progress bar.
class TSkinProgress : public QObject {
    Q_OBJECT
public:
    TSkinProgress(QProgressBar* bar, const TSkinData& data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QProgressBar> bar_;
    const TSkinData& data_;
};

} // namespace zorvia
