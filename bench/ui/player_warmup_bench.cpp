// What compiling the player's module in the start page's renderer buys and
// costs. A start page of the demo portal loads in a browser of the game
// box's profile, then a game page opens in a second browser (the same site,
// so the same renderer process), in three ways:
//   none     no warm-up: the anchor, as the game box was without it;
//   racing   the warm-up starts when the start page has loaded and the game
//            opens at once, as when the user clicks straight away;
//   warmed   the game opens once the warm-up has compiled the module.
// For each: the open call to the movie's first frame on the X screen, the
// game page's own call of the module's instantiation to its result (the
// compile where the module is not ready yet), the renderer's CPU time from
// the start page's load to the first frame (the warm-up's included: were the
// module compiled twice, racing would need about none's CPU time plus the
// warm-up's), and the renderer's PSS with the start page alone, measured
// before the game opens in none and warmed.
// Every figure comes from a child process with empty web storage:
//   bench_player_warmup --child none|racing|warmed <portal host>
// in 3 rounds unless given (bench_player_warmup [rounds]), the order of the
// ways turning from round to round. Run from build/bin, with a display.
#include "first_frame.h"

#include "app/application.h"
#include "browser/process_model.h"
#include "browser/view_rendering.h"
#include "browser/web_browser.h"
#include "browser/web_profile.h"
#include "player/player_scheme.h"
#include "player/player_warmup.h"
#include "support/demo_portal.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace zorvia;

constexpr int kGameId = 129; // bubble_pop.swf on the background #1a237e
constexpr QRgb kStage = qRgb(0x1a, 0x23, 0x7e);
constexpr int kLimitMs = 60000;
constexpr int kSettleMs = 3000;
constexpr std::array<const char*, 3> kWays{"none", "racing", "warmed"};
constexpr std::array<const char*, 4> kFigures{"open", "instantiate", "cpu", "pss"};

// Records, in every page, how long the page's own instantiation of a
// WebAssembly module took.
const QString kInstantiateProbe = QStringLiteral(R"js((function () {
  var original = WebAssembly.instantiateStreaming;
  WebAssembly.instantiateStreaming = function () {
    var start = performance.now();
    return original.apply(this, arguments).then(function (result) {
      window.__instantiateMs = performance.now() - start;
      return result;
    });
  };
})();)js");

long cpuMs(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    return (fields.value(11).toLong() + fields.value(12).toLong()) * 1000 / sysconf(_SC_CLK_TCK);
}

long pssKb(qint64 pid) {
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = rollup.readLine(); !line.isEmpty(); line = rollup.readLine()) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

QVariant run(QWebEnginePage& page, const QString& script, quint32 world) {
    QVariant result;
    bool done = false;
    page.runJavaScript(script, world, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    (void)QTest::qWaitFor([&] { return done; }, kLimitMs);
    return result;
}

bool warmedUp(QWebEnginePage& page) {
    return run(page,
               QStringLiteral("!!(window.%1 && (window.%1.module || window.%1.failed))")
                   .arg(QLatin1String(player::kWarmUpRecord)),
               QWebEngineScript::ApplicationWorld)
        .toBool();
}

int child(const std::string& way, const QString& host) {
    QWebEngineScript probe;
    probe.setSourceCode(kInstantiateProbe);
    probe.setInjectionPoint(QWebEngineScript::DocumentCreation);
    probe.setWorldId(QWebEngineScript::MainWorld);
    browser::sharedProfile()->scripts()->insert(probe);

    QWidget startWindow;
    startWindow.resize(802, 494);
    auto* start = new TWebBrowser(&startWindow);
    start->setAlignClient(true);
    startWindow.show();
    bool loaded = false;
    QObject::connect(start->page(), &QWebEnginePage::loadFinished, [&](bool ok) {
        loaded = ok;
        if (ok && way != "none")
            player::warmUpPlayer(*start->page());
    });
    start->Navigate(QStringLiteral("http://%1/mini.php").arg(host));
    if (!QTest::qWaitFor([&] { return loaded; }, kLimitMs))
        return 1;
    const qint64 renderer = start->page()->renderProcessPid();
    const long cpuAtLoad = cpuMs(renderer);
    long pss = -1;
    if (way != "racing") {
        if (way == "warmed" && !QTest::qWaitFor([&] { return warmedUp(*start->page()); }, kLimitMs))
            return 1;
        QTest::qWait(kSettleMs);
        pss = pssKb(renderer);
    }

    QWidget gameWindow;
    gameWindow.resize(990, 560);
    auto* game = new TWebBrowser(&gameWindow);
    game->setAlignClient(true);
    gameWindow.show();
    gameWindow.raise();
    QElapsedTimer clock;
    clock.start();
    game->Navigate(QStringLiteral("http://%1/mini.php?itemid=%2").arg(host).arg(kGameId));
    const qint64 open = bench::msToFirstFrame(
        clock, [&]() -> QWidget* { return game->view(); }, kStage, kLimitMs);
    const long cpu = cpuMs(renderer) - cpuAtLoad;
    const double instantiate = run(*game->page(), QStringLiteral("window.__instantiateMs || -1"),
                                   QWebEngineScript::MainWorld)
                                   .toDouble();
    if (game->page()->renderProcessPid() != renderer)
        std::fprintf(stderr, "the game page has a renderer of its own\n");
    std::printf("open %lld\ninstantiate %.0f\ncpu %ld\npss %ld\n", static_cast<long long>(open),
                instantiate, cpu, pss);
    return 0;
}

using Figures = std::map<std::string, double>;

Figures runChild(const char* way, const QString& host) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--child"), QString::fromLatin1(way), host});
    Figures figures;
    if (!process.waitForFinished(300000) || process.exitCode() != 0)
        return figures;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(' ');
        if (f.size() == 2)
            figures[f[0].toStdString()] = f[1].toDouble();
    }
    return figures;
}

double median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QTemporaryDir webStorage;
    setenv("ZORVIA_WEBENGINE_DIR", webStorage.path().toLocal8Bit().constData(), 1);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const bool isChild = argc == 4 && std::string(argv[1]) == "--child";
    if (isChild) {
        browser::chooseViewRendering();
        browser::chooseProcessModel();
    }
    player::registerPlayerScheme();
    TApplication app(argc, argv);
    if (isChild)
        return child(argv[2], QString::fromLocal8Bit(argv[3]));

    DemoPortal portal;
    if (!portal.running()) {
        std::fprintf(stderr, "the demo portal did not start: %s\n", qPrintable(portal.error()));
        return 1;
    }
    const int rounds = argc == 2 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf("Load average at the start: %s\n", bench::loadAverage().c_str());
    std::map<std::string, std::map<std::string, std::vector<double>>> all;
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < kWays.size(); ++i) {
            const char* way = kWays[(i + round) % kWays.size()];
            const Figures figures = runChild(way, portal.host());
            std::printf("round %d %-7s", round + 1, way);
            for (const char* name : kFigures) {
                const auto found = figures.find(name);
                std::printf("  %s %.0f", name, found == figures.end() ? -1.0 : found->second);
                if (found != figures.end())
                    all[way][name].push_back(found->second);
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    std::printf("medians over %d rounds: first frame after the open call (ms), the game page's "
                "instantiation (ms), renderer CPU from the start page's load to the first frame "
                "(ms), renderer PSS with the start page alone (MB)\n",
                rounds);
    std::printf("  way      first frame  instantiation  renderer CPU  renderer PSS\n");
    for (const char* way : kWays) {
        auto& f = all[way];
        std::printf("  %-7s  %11.0f  %13.0f  %12.0f  %12.1f\n", way, median(f["open"]),
                    median(f["instantiate"]), median(f["cpu"]),
                    way == std::string("racing") ? -1.0 : median(f["pss"]) / 1024.0);
    }
    std::printf("Load average at the end: %s\n", bench::loadAverage().c_str());
    return 0;
}
