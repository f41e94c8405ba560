#include "first_frame.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

namespace zorvia::bench {

namespace {

constexpr int kStagePixels = 12;
constexpr int kLookEveryMs = 5;

} // namespace

bool stageOnScreen(QWidget& view, QRgb stage) {
    if (!view.isVisible() || view.width() <= 0)
        return false;
    const QPoint left = view.mapToGlobal(QPoint(0, view.height() / 2));
    QScreen* screen = view.screen() ? view.screen() : QGuiApplication::primaryScreen();
    const QPoint origin = screen->geometry().topLeft();
    // Window 0 is the whole screen: what the X server shows, not what the
    // widget would paint.
    const QImage row =
        screen->grabWindow(0, left.x() - origin.x(), left.y() - origin.y(), view.width(), 1)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    int found = 0;
    for (int x = 0; x < row.width(); ++x) {
        if ((row.pixel(x, 0) | 0xff000000u) == (stage | 0xff000000u) && ++found >= kStagePixels)
            return true;
    }
    return false;
}

qint64 msToFirstFrame(const QElapsedTimer& clock, const std::function<QWidget*()>& view, QRgb stage,
                      int timeoutMs) {
    while (clock.elapsed() < timeoutMs) {
        if (QWidget* widget = view(); widget && stageOnScreen(*widget, stage))
            return clock.elapsed();
        QTest::qWait(kLookEveryMs);
    }
    // What the screen showed instead, for a look afterwards.
    const QString shot = QDir::temp().filePath(QStringLiteral("bench_flash_player_%1_%2.png")
                                                   .arg(getpid())
                                                   .arg(clock.msecsSinceReference()));
    if (QGuiApplication::primaryScreen()->grabWindow(0).save(shot))
        std::fprintf(stderr, "no first frame on screen: %s\n", qPrintable(shot));
    return -1;
}

std::pair<long, int> treePss(pid_t root) {
    std::map<pid_t, pid_t> parent;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const pid_t pid = entry.toInt(&ok);
        if (!ok)
            continue;
        std::ifstream stat("/proc/" + entry.toStdString() + "/stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        char state = 0;
        int ppid = 0;
        std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid);
        parent[pid] = ppid;
    }
    long total = 0;
    int count = 0;
    for (const auto& [pid, ppid] : parent) {
        pid_t p = pid;
        while (p > 1 && p != root)
            p = parent.count(p) ? parent[p] : 0;
        if (p != root)
            continue;
        std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
        for (std::string line; std::getline(rollup, line);) {
            if (line.rfind("Pss:", 0) == 0) {
                total += std::atol(line.c_str() + 4);
                ++count;
                break;
            }
        }
    }
    return {total, count};
}

std::string loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed().toStdString() : "?";
}

} // namespace zorvia::bench
