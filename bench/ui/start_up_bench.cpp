// Start-up as the user sees it: from the start of the game box's process to
// the end of its start page's load, beside a bare web view (a plain
// QWebEngineView in a window of its own process) loading the same page
// from the same demo portal, in one run, alternating. The game box prints
// its phases (ZORVIA_START_UP_TRACE), the bare view a few of its own; the
// benchmark prints, for both, the median time of each phase's end with the
// process's CPU time by then (under load the wall times drift with the other
// work on the machine, the CPU times much less), the medians of both totals
// and their ratio.
//
// Run from the program folder (build/bin): the game box "zorvia" is started
// from there. bench_start_up --bare <url> is the anchor's own process.
#include "support/demo_portal.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kRounds = 7;
constexpr int kLimitMs = 60000;
constexpr const char* kLoaded = "start page loaded";
constexpr const char* kEngineProcesses = "web engine processes";

long long monotonicNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double msSince(long long origin) {
    return double(monotonicNow() - origin) / 1e6;
}

double cpuMs() {
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The phases of one program over the rounds: the end of each in ms since
// the process started, and the process's CPU time by then (all its
// threads; the web engine's page and GPU processes are not counted).
struct Phases {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> wall;
    std::map<std::string, std::vector<double>> cpu;

    void print(const char* title) {
        std::printf("%s, phase ends (median ms since the process started; CPU time of the "
                    "process by then):\n",
                    title);
        std::printf("  %-28s %8s %8s %8s %8s\n", "phase", "wall", "+wall", "cpu", "+cpu");
        double previous = 0;
        double previousCpu = 0;
        for (const std::string& phase : order) {
            const double end = median(wall[phase]);
            const double used = cpu.count(phase) ? median(cpu[phase]) : 0;
            std::printf("  %-28s %8.1f %+8.1f %8.1f %+8.1f\n", phase.c_str(), end, end - previous,
                        used, used - previousCpu);
            previous = end;
            previousCpu = used;
        }
    }
};

// The anchor: a bare web view of the game box's browser area loading the
// page; prints its phases as the game box does.
int bareChild(int argc, char** argv) {
    const long long origin = std::atoll(std::getenv("ZORVIA_START_UP_TRACE"));
    const auto phase = [origin](const char* name) {
        std::fprintf(stderr, "start-up %s %.1f\nstart-up-cpu %s %.1f\n", name, msSince(origin),
                     name, cpuMs());
        std::fflush(stderr);
    };
    phase("main");
    const QString url = QString::fromLocal8Bit(argv[2]);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    phase("Qt initialisation");
    QWebEngineView view;
    // The size of the game box's start page browser.
    view.resize(802, 494);
    phase("web view");
    QObject::connect(view.page(), &QWebEnginePage::loadFinished, [&] { phase(kLoaded); });
    view.load(QUrl(url));
    view.show();
    phase("navigation started");
    return app.exec();
}

// The CPU time in ms its descendants (the web engine's zygote, page and GPU
// processes) have used so far, read from /proc.
double descendantsCpuMs(qint64 pid) {
    double total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks.filePath(task + "/children"));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& child : children.readAll().split(' ')) {
            const qint64 childPid = child.trimmed().toLongLong();
            if (childPid <= 0)
                continue;
            QFile stat(QStringLiteral("/proc/%1/stat").arg(childPid));
            if (stat.open(QIODevice::ReadOnly)) {
                // The fields after the command's closing parenthesis; utime
                // and stime are the 14th and 15th of the whole line.
                const QByteArray line = stat.readAll();
                const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
                if (fields.size() > 12)
                    total += double(fields[11].toLongLong() + fields[12].toLongLong()) * 1e3 /
                             double(sysconf(_SC_CLK_TCK));
            }
            total += descendantsCpuMs(childPid);
        }
    }
    return total;
}

// One process run up to its start page's load: phase → ms since its start
// (and, in cpu, phase → the process's CPU time by then, where it tells).
// Empty when the page did not load within the limit.
std::map<std::string, double> runUntilLoaded(const QString& program, const QStringList& args,
                                             QProcessEnvironment env,
                                             std::vector<std::string>& order,
                                             std::map<std::string, double>& cpu) {
    QProcess process;
    const long long origin = monotonicNow();
    env.insert("ZORVIA_START_UP_TRACE", QString::number(origin));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    std::map<std::string, double> phases;
    QByteArray pending;
    process.start(program, args);
    static_cast<void>(QTest::qWaitFor(
        [&] {
            pending += process.readAllStandardError();
            for (int end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
                const QString line = QString::fromUtf8(pending.left(end));
                pending.remove(0, end + 1);
                const int last = line.lastIndexOf(' ');
                if (line.startsWith("start-up-cpu ")) {
                    cpu[line.mid(13, last - 13).toStdString()] = line.mid(last + 1).toDouble();
                    continue;
                }
                if (!line.startsWith("start-up "))
                    continue;
                const std::string phase = line.mid(9, last - 9).toStdString();
                if (std::find(order.begin(), order.end(), phase) == order.end())
                    order.push_back(phase);
                phases[phase] = line.mid(last + 1).toDouble();
            }
            return phases.count(kLoaded) != 0 || process.state() == QProcess::NotRunning;
        },
        kLimitMs));
    if (phases.count(kLoaded) != 0)
        cpu[kEngineProcesses] = descendantsCpuMs(process.processId());
    process.kill();
    process.waitForFinished(10000);
    if (phases.count(kLoaded) == 0)
        phases.clear();
    return phases;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    if (argc == 3 && std::string(argv[1]) == "--bare")
        return bareChild(argc, argv);

    QCoreApplication app(argc, argv);
    DemoPortal portal;
    if (!portal.running()) {
        std::fprintf(stderr, "the demo portal did not start: %s\n", qPrintable(portal.error()));
        return 1;
    }
    const QString page = portal.url("/mini.php");
    portal.get("/mini.php"); // the portal's first answers are its slowest

    // Each process gets a home of its own: nothing of a run stays for the
    // next one.
    const QString folder = QCoreApplication::applicationDirPath() + "/";
    Phases gameBox;
    Phases bare;
    for (int round = 0; round < kRounds; ++round) {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("XDG_DATA_HOME", home.path() + "/data");
        env.insert("XDG_CONFIG_HOME", home.path() + "/config");
        env.insert("XDG_CACHE_HOME", home.path() + "/cache");
        env.remove("ZORVIA_WEBENGINE_DIR");
        env.insert("ZORVIA_SITE_HOST", portal.host());

        std::map<std::string, double> bareCpu;
        std::map<std::string, double> boxCpu;
        const auto anchor = runUntilLoaded(QCoreApplication::applicationFilePath(),
                                           {"--bare", page}, env, bare.order, bareCpu);
        const auto box = runUntilLoaded(folder + "zorvia", {}, env, gameBox.order, boxCpu);
        if (anchor.empty() || box.empty()) {
            std::fprintf(stderr, "round %d: a start page did not load\n", round + 1);
            return 1;
        }
        for (const auto& [phase, ms] : anchor)
            bare.wall[phase].push_back(ms);
        for (const auto& [phase, ms] : bareCpu)
            bare.cpu[phase].push_back(ms);
        for (const auto& [phase, ms] : box)
            gameBox.wall[phase].push_back(ms);
        for (const auto& [phase, ms] : boxCpu)
            gameBox.cpu[phase].push_back(ms);
    }

    std::printf("Start-up, process start to the start page's load, median of %d rounds\n", kRounds);
    gameBox.print("game box");
    bare.print("bare web view, same page");
    const double box = median(gameBox.wall[kLoaded]);
    const double anchor = median(bare.wall[kLoaded]);
    std::printf("%-30s %8.1f ms\n", "game box", box);
    std::printf("%-30s %8.1f ms\n", "bare web view, same page", anchor);
    std::printf("%-30s %8.2f\n", "ratio game box / bare", box / anchor);
    std::printf("%-30s %8.2f\n", "CPU time ratio",
                median(gameBox.cpu[kLoaded]) / median(bare.cpu[kLoaded]));
    std::printf("CPU time of the web engine's own processes by then: game box %.1f ms, bare "
                "%.1f ms\n",
                median(gameBox.cpu[kEngineProcesses]), median(bare.cpu[kEngineProcesses]));
    return 0;
}
