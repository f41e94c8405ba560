#pragma once

#include <QElapsedTimer>
#include <QRgb>
#include <QWidget>

#include <sys/types.h>

#include <functional>
#include <string>
#include <utility>

namespace zorvia::bench {

// Whether a movie's stage is drawn in view as the X server shows it: the
// view's middle row, read back from the screen, holds at least a few pixels
// of the stage's background colour.
bool stageOnScreen(QWidget& view, QRgb stage);

// Milliseconds from clock's start until stageOnScreen holds for the widget
// that view() returns at each look (it may appear only after a while), or
// -1 after timeoutMs. Looks every few milliseconds with the event loop
// running.
qint64 msToFirstFrame(const QElapsedTimer& clock, const std::function<QWidget*()>& view, QRgb stage,
                      int timeoutMs);

// PSS in kB of the process root and all its descendants, and their number.
std::pair<long, int> treePss(pid_t root);

// The machine's load as /proc/loadavg gives it, or "?".
std::string loadAverage();

} // namespace zorvia::bench
