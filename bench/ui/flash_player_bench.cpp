// The game box's Flash player as the user sees it: from the open call to the
// movie's first frame on the X screen, for five games opened one after
// another in one window with the earlier tabs left open, from portal game
// pages and as local games; and the memory of all processes with the five
// tabs playing. Beside it, in the same run, plain web views in a QTabWidget
// that get the same player files from the same scheme (first_frame.h,
// plain_tabs.h). Each figure comes from a child process of its own with a
// web storage folder of its own, so every side starts its web engine afresh
// and its first open finds nothing cached:
//   bench_flash_player --child gamebox|plain portal|local <portal host> <folder>
// Single opens vary much from run to run on a small machine, so the whole
// sequence runs in rounds (3 unless given: bench_flash_player [rounds]),
// the game box and the plain view taking turns to go first, and the
// summary gives each open's median and spread over the rounds.
// Run from the program folder (build/bin), with a display.
#include "first_frame.h"
#include "plain_tabs.h"

#include "app/application.h"
#include "browser/process_model.h"
#include "browser/view_rendering.h"
#include "browser/web_browser.h"
#include "player/flash_player.h"
#include "player/movie_scheme.h"
#include "support/demo_portal.h"
#include "text/file_path.h"
#include "ui/main/form1.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace zorvia;

struct Game {
    int id;
    const char* file;
    QRgb stage; // the movie's background colour
};

// Five games of the demo portal whose background fills much of the stage.
constexpr std::array<Game, 5> kGames{{{129, "bubble_pop.swf", qRgb(0x1a, 0x23, 0x7e)},
                                      {130, "max_rocket.swf", qRgb(0x10, 0x20, 0x27)},
                                      {104, "jerry_cheese_maze.swf", qRgb(0x26, 0x32, 0x38)},
                                      {111, "space_shooter.swf", qRgb(0x0d, 0x0d, 0x2b)},
                                      {132, "gomoku.swf", qRgb(0xd7, 0xa8, 0x6e)}}};
constexpr int kFrameTimeoutMs = 60000;
constexpr int kStartPageTimeoutMs = 30000;
constexpr int kSettleMs = 5000;

struct Figures {
    std::vector<qint64> opens;
    long pssKb = 0;
    int processes = 0;
};

QString gameUrl(const QString& source, const QString& host, const QString& folder,
                const Game& game) {
    if (source == QLatin1String("portal"))
        return QStringLiteral("http://%1/mini.php?itemid=%2").arg(host).arg(game.id);
    return QDir(folder).filePath(QString::fromLatin1(game.file));
}

void reportOpen(int index, qint64 ms) {
    std::printf("open %d %lld\n", index, static_cast<long long>(ms));
    std::fflush(stdout);
}

void reportMemory() {
    QTest::qWait(kSettleMs); // the games play on for a while with all tabs open
    const auto [pss, processes] = bench::treePss(getpid());
    std::printf("memory %ld %d\n", pss, processes);
}

int gameBoxChild(const QString& source, const QString& host, const QString& folder) {
    qputenv("ZORVIA_SITE_HOST", host.toUtf8());
    // The local games play from the bench's folder, as from the flash folder.
    player::setLocalMovieFolder(folder);
    TForm1 form;
    form.FormCreate();
    form.show();
    const auto* start = form.findChild<TWebBrowser*>(QStringLiteral("WebBrowser1"));
    if (!start ||
        !QTest::qWaitFor([&] { return start->Document().has_value(); }, kStartPageTimeoutMs))
        std::fprintf(stderr, "the start page did not load\n");
    for (std::size_t i = 0; i < kGames.size(); ++i) {
        const QString url = gameUrl(source, host, folder, kGames[i]);
        QElapsedTimer clock;
        clock.start();
        // What a list item carries: an address, or a local path in the
        // game box's own encoding.
        form.CreateNewTab(source == QLatin1String("portal")
                              ? url.toStdString()
                              : text::fromFileSystem(url.toUtf8().toStdString()));
        reportOpen(static_cast<int>(i) + 1,
                   bench::msToFirstFrame(
                       clock, [&]() -> QWidget* { return form.activeBrowser()->view(); },
                       kGames[i].stage, kFrameTimeoutMs));
    }
    reportMemory();
    return 0;
}

int plainChild(const QString& source, const QString& host, const QString& folder) {
    bench::PlainTabs tabs;
    tabs.resize(990, 560);
    tabs.show();
    QWebEngineView* start = tabs.open(QUrl(QStringLiteral("http://%1/mini.php").arg(host)));
    bool started = false;
    QObject::connect(start, &QWebEngineView::loadFinished, [&] { started = true; });
    if (!QTest::qWaitFor([&] { return started; }, kStartPageTimeoutMs))
        std::fprintf(stderr, "the start page did not load\n");
    for (std::size_t i = 0; i < kGames.size(); ++i) {
        QString url = gameUrl(source, host, folder, kGames[i]);
        // A local game plays in a small page beside it.
        if (source != QLatin1String("portal"))
            url = QUrl::fromLocalFile(url + QStringLiteral(".html")).toString();
        QElapsedTimer clock;
        clock.start();
        tabs.open(QUrl(url));
        reportOpen(static_cast<int>(i) + 1,
                   bench::msToFirstFrame(
                       clock, [&]() -> QWidget* { return tabs.currentView(); }, kGames[i].stage,
                       kFrameTimeoutMs));
    }
    reportMemory();
    return 0;
}

std::optional<Figures> runChild(const char* kind, const char* source, const QString& host,
                                const QString& folder) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), QString::fromLatin1(kind), QString::fromLatin1(source),
                 host, folder});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return std::nullopt;
    Figures figures;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(' ');
        if (f.size() == 3 && f[0] == "open")
            figures.opens.push_back(f[2].toLongLong());
        else if (f.size() == 3 && f[0] == "memory")
            figures = {figures.opens, f[1].toLong(), f[2].toInt()};
    }
    if (figures.opens.size() != kGames.size())
        return std::nullopt;
    return figures;
}

QString ratio(double ours, double theirs) {
    if (ours < 0 || theirs <= 0)
        return QStringLiteral("-");
    return QString::number(ours / theirs, 'f', 2);
}

bool fetchGames(const DemoPortal& portal, const QString& folder) {
    for (const Game& game : kGames) {
        const QByteArray movie = portal.get(QStringLiteral("/games/") + game.file);
        QFile file(QDir(folder).filePath(QString::fromLatin1(game.file)));
        QFile page(file.fileName() + QStringLiteral(".html"));
        if (movie.isEmpty() || !file.open(QIODevice::WriteOnly) ||
            file.write(movie) != movie.size() || !page.open(QIODevice::WriteOnly))
            return false;
        page.write(QByteArrayLiteral(
                       "<!doctype html><meta charset='utf-8'><style>html,body{margin:0;height:100%;"
                       "overflow:hidden;background:#000}embed{display:block;width:100%;height:100%}"
                       "</style><embed type='application/x-shockwave-flash' width='100%' "
                       "height='100%' src='") +
                   game.file + "'>");
    }
    return true;
}

// The median, with a failed open (-1) counting as the slowest.
qint64 median(std::vector<qint64> values) {
    for (qint64& v : values)
        if (v < 0)
            v = std::numeric_limits<qint64>::max();
    std::sort(values.begin(), values.end());
    const qint64 middle = values[values.size() / 2];
    return middle == std::numeric_limits<qint64>::max() ? -1 : middle;
}

void printSource(const char* source, const Figures& box, const Figures& plain) {
    std::printf("%s: first frame on screen after the open call (ms)\n", source);
    std::printf("  open  game box  plain view  ratio\n");
    for (std::size_t i = 0; i < kGames.size(); ++i)
        std::printf("  %4zu  %8lld  %10lld  %5s\n", i + 1, static_cast<long long>(box.opens[i]),
                    static_cast<long long>(plain.opens[i]),
                    qPrintable(ratio(box.opens[i], plain.opens[i])));
    // Opens 2 to 5 with the earlier tabs playing, against the same opens of
    // the plain view and against the game box's own first open.
    const std::vector<qint64> later(box.opens.begin() + 1, box.opens.end());
    const std::vector<qint64> plainLater(plain.opens.begin() + 1, plain.opens.end());
    std::printf("  opens 2-%zu, median: game box %lld ms, plain view %lld ms, ratio %s; game box "
                "against its first open %s\n",
                kGames.size(), static_cast<long long>(median(later)),
                static_cast<long long>(median(plainLater)),
                qPrintable(ratio(median(later), median(plainLater))),
                qPrintable(ratio(median(later), box.opens.front())));
    std::printf("  memory with %zu game tabs: game box %.1f MB in %d processes, plain view "
                "%.1f MB in %d processes, ratio %s\n",
                kGames.size(), box.pssKb / 1024.0, box.processes, plain.pssKb / 1024.0,
                plain.processes, qPrintable(ratio(box.pssKb, plain.pssKb)));
    std::fflush(stdout);
}

struct Spread {
    qint64 median = -1, low = -1, high = -1;
};

Spread spread(const std::vector<qint64>& values) {
    if (values.empty())
        return {};
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return {median(values), *low, *high};
}

// Each open's median and range over the rounds, and the ratio of the medians.
void printSummary(const char* source, const std::vector<Figures>& boxes,
                  const std::vector<Figures>& plains) {
    if (boxes.empty())
        return;
    std::printf("%s over %zu rounds: first frame (ms), median [lowest-highest]\n", source,
                boxes.size());
    std::printf("  open  game box            plain view          ratio of medians  highest "
                "ratio in a round\n");
    for (std::size_t i = 0; i < kGames.size(); ++i) {
        std::vector<qint64> box, plain;
        double worst = 0;
        for (std::size_t r = 0; r < boxes.size(); ++r) {
            box.push_back(boxes[r].opens[i]);
            plain.push_back(plains[r].opens[i]);
            if (boxes[r].opens[i] > 0 && plains[r].opens[i] > 0)
                worst = std::max(worst, double(boxes[r].opens[i]) / plains[r].opens[i]);
        }
        const Spread b = spread(box), p = spread(plain);
        std::printf("  %4zu  %5lld [%5lld-%5lld]  %5lld [%5lld-%5lld]  %16s  %.2f\n", i + 1,
                    static_cast<long long>(b.median), static_cast<long long>(b.low),
                    static_cast<long long>(b.high), static_cast<long long>(p.median),
                    static_cast<long long>(p.low), static_cast<long long>(p.high),
                    qPrintable(ratio(b.median, p.median)), worst);
    }
    std::vector<qint64> boxMemory, plainMemory;
    for (std::size_t r = 0; r < boxes.size(); ++r) {
        boxMemory.push_back(boxes[r].pssKb);
        plainMemory.push_back(plains[r].pssKb);
    }
    const Spread b = spread(boxMemory), p = spread(plainMemory);
    std::printf("  memory with %zu game tabs (MB), median [lowest-highest]: game box %.1f "
                "[%.1f-%.1f], plain view %.1f [%.1f-%.1f], ratio of medians %s\n",
                kGames.size(), b.median / 1024.0, b.low / 1024.0, b.high / 1024.0,
                p.median / 1024.0, p.low / 1024.0, p.high / 1024.0,
                qPrintable(ratio(b.median, p.median)));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    // Every process starts with empty web storage: no cache from an
    // earlier child.
    QTemporaryDir webStorage;
    setenv("ZORVIA_WEBENGINE_DIR", webStorage.path().toLocal8Bit().constData(), 1);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const bool child = argc == 6 && std::string(argv[1]) == "--child";
    // The game box draws its views and gives its pages processes as the
    // game box does; the plain views keep the web engine's defaults.
    if (child && std::string(argv[2]) == "gamebox") {
        zorvia::browser::chooseViewRendering();
        zorvia::browser::chooseProcessModel();
    }
    zorvia::player::registerFlashPlayerSchemes();
    zorvia::TApplication app(argc, argv);

    if (child) {
        const QString source = QString::fromLocal8Bit(argv[3]);
        const QString host = QString::fromLocal8Bit(argv[4]);
        const QString folder = QString::fromLocal8Bit(argv[5]);
        return std::string(argv[2]) == "gamebox" ? gameBoxChild(source, host, folder)
                                                 : plainChild(source, host, folder);
    }
    // The plain view, like any browser, cannot play a movie of another host:
    // both sides open portal games whose movies lie on the portal host.
    DemoPortal portal(DemoPortal::GameFiles::OnPortalHost);
    QTemporaryDir games;
    if (!portal.running() || !fetchGames(portal, games.path())) {
        std::fprintf(stderr, "the demo portal did not serve the games: %s\n",
                     qPrintable(portal.error()));
        return 1;
    }
    const int rounds = argc == 2 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf("Load average at the start: %s\n", bench::loadAverage().c_str());
    std::map<std::string, std::pair<std::vector<Figures>, std::vector<Figures>>> all;
    for (int round = 1; round <= rounds; ++round) {
        std::printf("Round %d of %d\n", round, rounds);
        for (const char* source : {"portal", "local"}) {
            // The side that goes first alternates from round to round.
            std::optional<Figures> box, plain;
            if (round % 2 == 1) {
                box = runChild("gamebox", source, portal.host(), games.path());
                plain = runChild("plain", source, portal.host(), games.path());
            } else {
                plain = runChild("plain", source, portal.host(), games.path());
                box = runChild("gamebox", source, portal.host(), games.path());
            }
            if (!box || !plain) {
                std::printf("%s: a child failed (%s)\n", source, box ? "plain view" : "game box");
                continue;
            }
            printSource(source, *box, *plain);
            all[source].first.push_back(*box);
            all[source].second.push_back(*plain);
        }
    }
    for (const char* source : {"portal", "local"})
        printSummary(source, all[source].first, all[source].second);
    std::printf("Load average at the end: %s\n", bench::loadAverage().c_str());
    return 0;
}
