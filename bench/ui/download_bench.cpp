// The download loop reads 256-byte blocks and lets pending events run after
// each one. Prints the throughput of TForm2::DownloadGame from a loopback
// server and the time per block, for a few file sizes.
#include "platform/program_folder.h"
#include "ui/down/form2.h"
#include "ui/main/globals.h"

#include <QApplication>
#include <QWidget>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 5;
constexpr int kWaitMs = 10000;

// Serves one reply of `size` bytes to one client on 127.0.0.1, then closes.
class OneShotServer {
public:
    explicit OneShotServer(std::size_t size) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 1);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this, size] { serve(size); });
    }
    ~OneShotServer() {
        thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }

private:
    void serve(std::size_t size) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, kWaitMs) != 1)
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
        std::string reply =
            "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n";
        reply.append(size, 'z');
        for (std::size_t sent = 0; sent < reply.size();) {
            const ssize_t n = ::send(fd, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += std::size_t(n);
        }
        ::close(fd);
    }

    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget owner;
    const std::string file = "zorvia_bench_download.swf";
    std::printf("%10s %12s %14s\n", "size", "MB/s", "us per block");
    for (const std::size_t size : {256u * 1024u, 2u * 1024u * 1024u, 8u * 1024u * 1024u}) {
        std::vector<double> seconds;
        for (int round = 0; round < kRounds; ++round) {
            OneShotServer server(size);
            zorvia::SiteHost = "127.0.0.1:" + std::to_string(server.port());
            auto* window = new zorvia::TForm2(&owner);
            window->AddDownloadItem("bench");
            const auto start = Clock::now();
            const bool ok = window->DownloadGame("games/" + file);
            seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            delete window;
            if (!ok) {
                std::fprintf(stderr, "download refused\n");
                return 1;
            }
        }
        std::nth_element(seconds.begin(), seconds.begin() + kRounds / 2, seconds.end());
        const double median = seconds[kRounds / 2];
        std::printf("%9zuK %12.1f %14.2f\n", size / 1024, size / median / 1e6,
                    median * 1e6 / double((size + 255) / 256));
    }
    std::error_code ec;
    std::filesystem::remove(zorvia::platform::programFolder() + "flash/" + file, ec);
    return 0;
}
