// The game box's Flash player: time from opening a local game to its first
// drawn frame, and the memory (PSS of the process and all its descendants,
// the web engine's processes included) with 1 and 5 game tabs playing, the
// game box beside a bare web view whose page loads the player itself.
//
// Run from the program folder (build/bin). Each memory figure comes from a
// child process of its own: bench_flash_player --child gamebox|bare <tabs>.
#include "support/test_http_server.h"
#include "browser/web_browser.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"

#include "app/application.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using zorvia::TWebBrowser;

constexpr QRgb kStage = qRgb(0x1a, 0x23, 0x7e); // the test movie's background
constexpr QSize kMovieSize{550, 400};
constexpr int kDrawTimeoutMs = 120000;
constexpr int kSettleMs = 8000;
constexpr int kRounds = 5;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A point of the stage's background in a view that shows the movie filling
// it at its aspect ratio.
QPoint stagePoint(const QSize& view) {
    const QSize movie = kMovieSize.scaled(view, Qt::KeepAspectRatio);
    return {(view.width() - movie.width()) / 2 + 3, (view.height() - movie.height()) / 2 + 3};
}

bool drawn(QWidget& view) {
    const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint p = stagePoint(view.size());
    return image.valid(p) && (image.pixel(p) | 0xff000000u) == kStage;
}

bool waitDrawn(QWidget& view) {
    return QTest::qWaitFor([&] { return drawn(view); }, kDrawTimeoutMs);
}

// PSS in kB of the process and all its descendants, and their number.
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

QString writeMovie(const QTemporaryDir& dir) {
    const QString path = QDir(dir.path()).filePath(QStringLiteral("orbit.swf"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(readFile(QStringLiteral(ZORVIA_BENCH_MOVIE)));
    return path;
}

// Opening a local game in a shown browser until its first frame is drawn.
void firstFrame(const QString& movie) {
    std::printf("Local game, open to first drawn frame (ms):");
    QWidget warm;
    auto* warmBrowser = new TWebBrowser(&warm);
    warmBrowser->Navigate(QStringLiteral("about:blank"));
    QTest::qWait(2000); // the web engine is up, as in a running game box
    std::vector<qint64> times;
    for (int round = 0; round < kRounds; ++round) {
        QWidget window;
        window.resize(800, 500);
        auto* browser = new TWebBrowser(&window);
        browser->setAlignClient(true);
        window.show();
        QElapsedTimer clock;
        clock.start();
        browser->Navigate(movie);
        const bool ok = waitDrawn(*browser->view());
        times.push_back(ok ? clock.elapsed() : -1);
        std::printf(" %lld", static_cast<long long>(times.back()));
        std::fflush(stdout);
    }
    std::sort(times.begin() + 1, times.end());
    std::printf(
        "\n  first (player compiled the first time): %lld ms, median of the rest: %lld ms\n",
        static_cast<long long>(times.front()),
        static_cast<long long>(times[1 + (times.size() - 1) / 2]));
}

int gameBoxChild(int tabs, const QString& movie) {
    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9"); // no portal: start-up requests fail at once
    zorvia::TForm1 form;
    form.FormCreate();
    form.show();
    for (int i = 0; i < tabs; ++i) {
        form.CreateNewTab(zorvia::ui::fromQ(movie));
        if (!waitDrawn(*form.activeBrowser()->view())) {
            std::fprintf(stderr, "tab %d: no frame drawn\n", i + 1);
            return 1;
        }
    }
    QTest::qWait(kSettleMs);
    const auto [pss, processes] = treePss(getpid());
    std::printf("%ld %d\n", pss, processes);
    return 0;
}

// The bare web view's page: it loads the player itself over HTTP.
void serveBarePage(zorvia::test::TestHttpServer& server, const QString& movie) {
    const QDir player(QCoreApplication::applicationDirPath() + QStringLiteral("/player"));
    for (const QString& name : player.entryList(QDir::Files)) {
        zorvia::test::HttpResponse reply;
        reply.contentType =
            name.endsWith(QLatin1String(".wasm")) ? "application/wasm" : "text/javascript";
        reply.body = readFile(player.filePath(name));
        server.route("/player/" + name.toUtf8(), reply);
    }
    zorvia::test::HttpResponse swf;
    swf.contentType = "application/x-shockwave-flash";
    swf.body = readFile(movie);
    server.route("/orbit.swf", swf);
    server.page(
        "/game",
        QStringLiteral("<!doctype html><meta charset='utf-8'><style>html,body{margin:0;height:100%;"
                       "overflow:hidden;background:#000}embed{display:block;width:100%;height:100%}"
                       "</style><script>window.RufflePlayer={config:{publicPath:'/player/',"
                       "autoplay:'on',unmuteOverlay:'hidden',splashScreen:false,letterbox:'on',"
                       "contextMenu:'off'}};</script><script src='/player/ruffle.js'></script>"
                       "<embed src='/orbit.swf' type='application/x-shockwave-flash' width='100%' "
                       "height='100%'>"));
}

QWebEngineProfile* bareProfile() {
    auto* profile = new QWebEngineProfile(qApp);
    profile->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    return profile;
}

// The same for the bare web view's page, for comparison.
void firstFrameBare(const QString& movie) {
    zorvia::test::TestHttpServer server;
    serveBarePage(server, movie);
    QWebEngineProfile* profile = bareProfile();
    std::printf("Bare web view loading the player itself, open to first drawn frame (ms):");
    for (int round = 0; round < kRounds; ++round) {
        QWebEngineView view;
        view.setPage(new QWebEnginePage(profile, &view));
        view.resize(800, 500);
        view.show();
        QElapsedTimer clock;
        clock.start();
        view.load(QUrl(server.url(QStringLiteral("/game"))));
        std::printf(" %lld", static_cast<long long>(waitDrawn(view) ? clock.elapsed() : -1));
        std::fflush(stdout);
    }
    std::printf("\n");
}

int bareChild(int tabs, const QString& movie) {
    zorvia::test::TestHttpServer server;
    serveBarePage(server, movie);
    QWebEngineProfile* profile = bareProfile();
    QTabWidget window;
    window.resize(990, 560);
    window.show();
    for (int i = 0; i < tabs; ++i) {
        auto* view = new QWebEngineView;
        view->setPage(new QWebEnginePage(profile, view));
        window.addTab(view, QStringLiteral("game"));
        window.setCurrentWidget(view);
        view->load(QUrl(server.url(QStringLiteral("/game"))));
        if (!waitDrawn(*view))
            return 1;
    }
    QTest::qWait(kSettleMs);
    const auto [pss, processes] = treePss(getpid());
    std::printf("%ld %d\n", pss, processes);
    return 0;
}

QString childFigure(const char* kind, int tabs) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), QString::fromLatin1(kind), QString::number(tabs)});
    if (!child.waitForFinished(300000) || child.exitCode() != 0)
        return QStringLiteral("failed");
    const QStringList fields = QString::fromLatin1(child.readAllStandardOutput()).split(u' ');
    if (fields.size() != 2)
        return QStringLiteral("failed");
    return QStringLiteral("%1 MB in %2 processes")
        .arg(fields[0].toLong() / 1024.0, 0, 'f', 1)
        .arg(fields[1].trimmed());
}

} // namespace

int main(int argc, char** argv) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QTemporaryDir webStorage;
    setenv("ZORVIA_WEBENGINE_DIR", webStorage.path().toLocal8Bit().constData(), 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    zorvia::TApplication app(argc, argv);
    QTemporaryDir dir;
    const QString movie = writeMovie(dir);

    if (argc == 4 && std::string(argv[1]) == "--child") {
        const int tabs = std::atoi(argv[3]);
        return std::string(argv[2]) == "gamebox" ? gameBoxChild(tabs, movie)
                                                 : bareChild(tabs, movie);
    }
    firstFrame(movie);
    firstFrameBare(movie);
    std::printf("Memory, PSS of all processes with game tabs playing:\n");
    for (int tabs : {1, 5}) {
        std::printf("  %d tab(s): game box %s; bare web view loading the player itself %s\n", tabs,
                    qPrintable(childFigure("gamebox", tabs)),
                    qPrintable(childFigure("bare", tabs)));
        std::fflush(stdout);
    }
    return 0;
}
