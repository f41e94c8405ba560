// A 64 MB game file from a loopback server, fetched by the download window
// (TForm2::DownloadGame: 256-byte blocks, pending events on a time slice)
// and by curl from the same server in the same run. Prints MB/s of both,
// their ratio, and the longest gap of a 1 ms repeating timer during the
// window's downloads: the longest stall of the event loop. Then the same gap
// while the window's connect waits 1 s for a portal that never answers.
#include "platform/program_folder.h"
#include "support/script_server.h"
#include "text/file_path.h"
#include "ui/down/form2.h"
#include "ui/main/globals.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kSize = 64u * 1024u * 1024u;
constexpr int kRounds = 3;
constexpr int kWaitMs = 10000;

// Serves the same reply of kSize bytes to every client on 127.0.0.1, one
// at a time, until it is destroyed.
class FileServer {
public:
    FileServer() {
        reply_ = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kSize) + "\r\n\r\n";
        reply_.append(kSize, 'z');
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 4);
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
    }
    int port() const { return port_; }

private:
    void serveOne() {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 100) != 1)
            return;
        const int fd = ::accept(listener_, nullptr, nullptr);
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            pollfd r{fd, POLLIN, 0};
            if (::poll(&r, 1, kWaitMs) != 1)
                break;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, std::size_t(n));
        }
        for (std::size_t sent = 0; sent < reply_.size();) {
            const ssize_t n = ::send(fd, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += std::size_t(n);
        }
        ::close(fd);
    }

    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget owner;
    FileServer server;
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    const std::string name = "zorvia_bench_download.swf";
    const std::string file = zorvia::platform::programFolder() + "flash/" + name;
    const std::string curlTarget = zorvia::text::toFileSystem(file) + ".curl";
    const std::string curl = "curl -s -f -o '" + curlTarget + "' http://" + host + "/games/" + name;

    // The longest gap between two ticks of a 1 ms timer while downloading.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    bool measuring = false;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (measuring)
            longestGap = std::max(longestGap, sinceTick.elapsed());
        sinceTick.restart();
    });
    ticker.start();

    std::vector<double> boxSeconds;
    std::vector<double> curlSeconds;
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        if (std::system(curl.c_str()) != 0) {
            std::fprintf(stderr, "curl failed\n");
            return 1;
        }
        curlSeconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());

        zorvia::SiteHost = host;
        auto* window = new zorvia::TForm2(&owner);
        window->AddDownloadItem("bench");
        QCoreApplication::processEvents();
        sinceTick.restart();
        measuring = true;
        start = Clock::now();
        const bool ok = window->DownloadGame("games/" + name);
        boxSeconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        measuring = false;
        delete window;
        if (!ok) {
            std::fprintf(stderr, "download refused\n");
            return 1;
        }
    }
    const qint64 downloadGap = longestGap;

    // A connect that runs into its limit: the event loop runs meanwhile.
    zorvia::test::StalledListener stalled;
    zorvia::SiteHost = "127.0.0.1:" + std::to_string(stalled.port());
    auto* window = new zorvia::TForm2(&owner);
    zorvia::portal::DownloadLimits limits;
    limits.connectMs = 1000;
    window->setLimits(limits);
    window->AddDownloadItem("bench");
    QCoreApplication::processEvents();
    longestGap = 0;
    sinceTick.restart();
    measuring = true;
    try {
        window->DownloadGame("games/" + name);
        std::fprintf(stderr, "the stalled connect succeeded\n");
        return 1;
    } catch (const std::exception&) {
        // the limit ran out, as it should
    }
    measuring = false;
    // The wait since the last tick counts too: the connect may end in a stall.
    const qint64 connectGap = std::max(longestGap, sinceTick.elapsed());
    delete window;

    const double box = kSize / median(boxSeconds) / 1e6;
    const double viaCurl = kSize / median(curlSeconds) / 1e6;
    std::printf("64 MB over loopback, median of %d rounds\n", kRounds);
    std::printf("%-28s %10.1f MB/s\n", "game box (TForm2)", box);
    std::printf("%-28s %10.1f MB/s\n", "curl", viaCurl);
    std::printf("%-28s %10.2f\n", "ratio game box / curl", box / viaCurl);
    std::printf("%-28s %10lld ms\n", "longest event-loop stall",
                static_cast<long long>(downloadGap));
    std::printf("%-28s %10lld ms\n", "stall in a 1 s connect", static_cast<long long>(connectGap));
    std::error_code ec;
    std::filesystem::remove(zorvia::text::fileSystemPath(file), ec);
    std::filesystem::remove(curlTarget, ec);
    return 0;
}
