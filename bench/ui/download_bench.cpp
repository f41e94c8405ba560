// Downloads as the user sees them: from the click on "下载本游戏" in the main
// window, with the game page open in a tab, to the game's row in the game
// database, for games of 1 KB, 64 MB and 256 MB. Beside each, in the same
// run and alternating with it, curl fetches the same file from the same
// loopback server, whose body goes out with sendfile from memory so that
// curl reads it at the machine's speed (its MB/s is printed). Prints the
// times, the speed ratio game box / curl, and the longest gap of a 1 ms
// repeating timer during the game box's clicks: the longest stall of the
// event loop, also split into before, during and after the transfer. Then
// the same gap while the download window's connect waits 1 s for a portal
// that never answers.
//
// Run from the program folder (build/bin): the main window needs its
// database and driver.
#include "app/application.h"
#include "portal/local_store.h"
#include "support/browser_test_support.h"
#include "support/script_server.h"
#include "support/test_http_server.h"
#include "text/file_path.h"
#include "ui/down/form2.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 5;
constexpr int kWaitMs = 10000;

struct Game {
    const char* label;
    std::size_t size;
    std::string name;
};

// Serves /games/<name> of every game, one connection at a time, on
// 127.0.0.1: the head in one write, the body with sendfile from a memory
// file. Any other path gets 404.
class FileServer {
public:
    explicit FileServer(const std::vector<Game>& games) {
        for (const Game& game : games) {
            const int fd = ::memfd_create(game.name.c_str(), MFD_CLOEXEC);
            std::vector<char> block(1 << 20);
            for (std::size_t i = 0; i < block.size(); ++i)
                block[i] = char('a' + i % 26);
            // A movie's signature, so that the game box keeps the file.
            block[0] = 'F';
            block[1] = 'W';
            block[2] = 'S';
            for (std::size_t done = 0; done < game.size;) {
                const std::size_t n = std::min(block.size(), game.size - done);
                if (::write(fd, block.data(), n) != ssize_t(n))
                    std::abort();
                done += n;
            }
            files_["/games/" + game.name] = {fd, game.size};
        }
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 8);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] {
            while (!stop_)
                serveOne();
        });
    }
    ~FileServer() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
        for (const auto& [path, file] : files_)
            ::close(file.fd);
    }
    int port() const { return port_; }

private:
    struct File {
        int fd;
        std::size_t size;
    };

    void serveOne() {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 100) != 1)
            return;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            pollfd r{fd, POLLIN, 0};
            if (::poll(&r, 1, kWaitMs) != 1)
                break;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, std::size_t(n));
        }
        const std::size_t from = request.find(' ') + 1;
        const auto found = files_.find(request.substr(from, request.find(' ', from) - from));
        if (found == files_.end()) {
            const std::string head = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
            ::send(fd, head.data(), head.size(), MSG_NOSIGNAL);
        } else {
            const std::string head =
                "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(found->second.size) +
                "\r\n\r\n";
            ::send(fd, head.data(), head.size(), MSG_NOSIGNAL | MSG_MORE);
            off_t offset = 0;
            while (std::size_t(offset) < found->second.size)
                if (::sendfile(fd, found->second.fd, &offset, found->second.size - offset) <= 0)
                    break;
        }
        ::shutdown(fd, SHUT_WR);
        // The client closes once it has the body; a bounded wait for that.
        pollfd r{fd, POLLIN, 0};
        while (::poll(&r, 1, kWaitMs) == 1 && ::recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
        ::close(fd);
    }

    std::map<std::string, File> files_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// The longest gaps of a 1 ms repeating timer while measuring: from the
// start to the first tick (inside a click: the window opening and the
// connect, before the transfer lets events run), between ticks (the
// transfer), and from the last tick to the end (the rename, the record and
// the list item).
class StallMeter {
public:
    StallMeter() {
        ticker_.setInterval(1);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            if (measuring_) {
                qint64& gap = ticked_ ? between_ : first_;
                gap = std::max(gap, sinceTick_.elapsed());
                ticked_ = true;
            }
            sinceTick_.restart();
        });
        ticker_.start();
    }
    void begin() {
        sinceTick_.restart();
        ticked_ = false;
        measuring_ = true;
    }
    void end() {
        last_ = std::max(last_, sinceTick_.elapsed());
        measuring_ = false;
    }
    void reset() { first_ = between_ = last_ = 0; }
    qint64 longest() const { return std::max({first_, between_, last_}); }
    qint64 first() const { return first_; }
    qint64 between() const { return between_; }
    qint64 last() const { return last_; }

private:
    QTimer ticker_;
    QElapsedTimer sinceTick_;
    qint64 first_ = 0;
    qint64 between_ = 0;
    qint64 last_ = 0;
    bool ticked_ = false;
    bool measuring_ = false;
};

// One click on the download button; the seconds until it returned with
// the game recorded, or a negative value when the game was not recorded.
double clickToRecord(zorvia::TForm1& form, const Game& game, StallMeter& stalls) {
    auto* button = form.findChild<QPushButton*>("Button_down");
    stalls.begin();
    const auto start = Clock::now();
    button->click();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    stalls.end();
    const bool recorded =
        zorvia::portal::localGameRecorded(form.SQLiteDB1, form.SQLiteQuery1, game.name);
    // Undone for the next round: row, file and window.
    zorvia::portal::deleteLocalGame(form.SQLiteDB1, form.SQLiteQuery1, game.name);
    std::error_code ec;
    std::filesystem::remove(zorvia::text::fileSystemPath(form.dataFolder() + "flash/" + game.name),
                            ec);
    delete zorvia::Form2;
    return recorded ? seconds : -1;
}

// Seconds curl takes for the game, from its start to its end.
double curlFetch(const std::string& host, const Game& game, const std::string& target) {
    const std::string command =
        "curl -s -f -o '" + target + "' http://" + host + "/games/" + game.name;
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::filesystem::remove(target);
    return status == 0 ? seconds : -1;
}

// The stall while the download window's connect waits 1 s for a portal that
// never answers.
qint64 stalledConnect(QWidget& owner, const zorvia::AnsiString& dataFolder, StallMeter& stalls) {
    zorvia::test::StalledListener stalled;
    zorvia::SiteHost = "127.0.0.1:" + std::to_string(stalled.port());
    auto* window = new zorvia::TForm2(&owner, dataFolder);
    zorvia::portal::DownloadLimits limits;
    limits.connectMs = 1000;
    window->setLimits(limits);
    window->AddDownloadItem("bench");
    QCoreApplication::processEvents();
    stalls.reset();
    stalls.begin();
    try {
        window->DownloadGame("games/never.swf");
    } catch (const std::exception&) {
        // the limit ran out, as it should
    }
    stalls.end();
    delete window;
    return stalls.longest();
}

} // namespace

int main(int argc, char** argv) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    setenv("ZORVIA_SITE_HOST", "127.0.0.1:9", 1);
    QTemporaryDir webStorage;
    setenv("ZORVIA_WEBENGINE_DIR", webStorage.path().toLocal8Bit().constData(), 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    zorvia::TApplication app(argc, argv);

    const std::vector<Game> games = {{"1 KB", 1024, "zorvia_bench_1k.swf"},
                                     {"64 MB", 64u << 20, "zorvia_bench_64m.swf"},
                                     {"256 MB", 256u << 20, "zorvia_bench_256m.swf"}};
    FileServer files(games);
    const std::string host = "127.0.0.1:" + std::to_string(files.port());
    zorvia::test::TestHttpServer pages;

    zorvia::TForm1 form;
    form.FormCreate();
    form.show();
    for (const Game& game : games) {
        zorvia::portal::deleteLocalGame(form.SQLiteDB1, form.SQLiteQuery1, game.name);
        pages.page(QByteArray("/game/") + game.name.c_str(),
                   "<title>bench</title><span id=swfurl>games/" +
                       QString::fromStdString(game.name) + "</span><div id=swfhelp>help</div>");
    }
    const std::string curlTarget = QDir::tempPath().toStdString() + "/zorvia_bench_curl.swf";

    StallMeter stalls;
    std::printf("From the click to the record, median of %d rounds (curl: the same file from the "
                "same server, alternating)\n",
                kRounds);
    std::printf("%-8s %12s %12s %12s %12s %10s %10s\n", "game", "game box ms", "best ms", "curl ms",
                "best ms", "curl MB/s", "ratio");
    bool failed = false;
    for (const Game& game : games) {
        const QString url = pages.url(QString::fromStdString("/game/" + game.name));
        form.CreateNewTab(zorvia::ui::fromQ(url));
        if (!zorvia::test::waitForDocumentAt(*form.activeBrowser(), url)) {
            std::fprintf(stderr, "the game page did not load\n");
            return 1;
        }
        zorvia::SiteHost = host;
        std::vector<double> box;
        std::vector<double> viaCurl;
        for (int round = 0; round < kRounds; ++round) {
            viaCurl.push_back(curlFetch(host, game, curlTarget));
            box.push_back(clickToRecord(form, game, stalls));
        }
        if (best(box) < 0 || best(viaCurl) < 0) {
            std::fprintf(stderr, "%s: a download failed\n", game.label);
            failed = true;
            continue;
        }
        const double ratio = median(viaCurl) / median(box);
        std::printf("%-8s %12.1f %12.1f %12.1f %12.1f %10.0f %10.2f\n", game.label,
                    median(box) * 1e3, best(box) * 1e3, median(viaCurl) * 1e3, best(viaCurl) * 1e3,
                    double(game.size) / best(viaCurl) / 1e6, ratio);
        std::fflush(stdout);
    }
    std::printf("%-44s %6lld ms\n", "longest event-loop stall, all downloads",
                static_cast<long long>(stalls.longest()));
    std::printf("%-44s %6lld ms\n", "  from the click to the transfer",
                static_cast<long long>(stalls.first()));
    std::printf("%-44s %6lld ms\n", "  during the transfer",
                static_cast<long long>(stalls.between()));
    std::printf("%-44s %6lld ms\n", "  from the transfer to the record",
                static_cast<long long>(stalls.last()));
    std::printf("%-44s %6lld ms\n", "stall in a 1 s connect",
                static_cast<long long>(stalledConnect(form, form.dataFolder(), stalls)));
    return failed ? 1 : 0;
}
