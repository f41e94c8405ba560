// Throughput of the stream client's ReadStream against a plain recv() loop,
// both reading the same bytes from a loopback server in the same run.
//
//   bench_net_read_stream [megabytes=100] [rounds=3]

#include "net/net_tcp_client.h"
#include "net/stream.h"

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
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Serves `bytes` bytes to every connection it accepts, then closes it.
class BlastServer {
public:
    explicit BlastServer(std::int64_t bytes) : bytes_(bytes) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
            ::listen(listener_, 4) != 0) {
            std::perror("listen");
            std::exit(1);
        }
        socklen_t len = sizeof sa;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&sa), &len);
        port_ = ntohs(sa.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~BlastServer() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }

private:
    void run() {
        std::vector<char> block(65536);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = char(i * 31 + 7);
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            std::int64_t left = bytes_;
            while (left > 0) {
                const ssize_t n =
                    ::send(fd, block.data(), std::size_t(std::min<std::int64_t>(left, 65536)),
                           MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                left -= n;
            }
            ::close(fd);
        }
    }

    std::int64_t bytes_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Reads the whole reply with recv() into a growing buffer, 32 KB at a time.
std::int64_t plainRecv(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(std::uint16_t(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        std::perror("connect");
        std::exit(1);
    }
    std::vector<char> data;
    char buf[32768];
    for (;;) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        data.insert(data.end(), buf, buf + n);
    }
    ::close(fd);
    return std::int64_t(data.size());
}

// Connects `tcp` to the loopback server on `port`.
void connectClient(zorvia::TNetTCPClient& tcp, int port) {
    tcp.SetHost("127.0.0.1");
    tcp.SetPort(port);
    tcp.SetReadTimeout(10000);
    tcp.Connect(5000);
}

// The download's loop: 256-byte counted blocks while they stay below the
// length, then the rest until the server closes.
std::int64_t counted256(int port, std::int64_t length) {
    zorvia::TNetTCPClient tcp;
    connectClient(tcp, port);
    zorvia::TMemoryStream stream;
    for (std::int64_t counter = 256; tcp.Connected(); counter += 256) {
        if (counter < length)
            tcp.ReadStream(stream, 256, false);
        else
            tcp.ReadStream(stream, -1, true);
    }
    return stream.Size();
}

std::int64_t untilClose(int port) {
    zorvia::TNetTCPClient tcp;
    connectClient(tcp, port);
    zorvia::TMemoryStream stream;
    while (tcp.Connected())
        tcp.ReadStream(stream, -1, true);
    return stream.Size();
}

struct Result {
    const char* name;
    double mbPerSecond = 0;
};

// Best of `rounds` runs, in MB/s (1 MB = 2^20 bytes).
double measure(const std::function<std::int64_t()>& run, std::int64_t expected, int rounds) {
    double best = 0;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        const std::int64_t got = run();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (got != expected) {
            std::fprintf(stderr, "short read: %lld of %lld bytes\n", (long long)got,
                         (long long)expected);
            std::exit(1);
        }
        best = std::max(best, double(got) / (1 << 20) / seconds);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const std::int64_t megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::int64_t bytes = megabytes << 20;
    BlastServer server(bytes);
    const int port = server.port();

    const double plain = measure([&] { return plainRecv(port); }, bytes, rounds);
    const Result results[] = {
        {"ReadStream 256-byte blocks",
         measure([&] { return counted256(port, bytes); }, bytes, rounds)},
        {"ReadStream until close", measure([&] { return untilClose(port); }, bytes, rounds)},
    };
    std::printf("%lld MB over loopback, best of %d rounds\n", (long long)megabytes, rounds);
    std::printf("  %-28s %9.1f MB/s\n", "plain recv loop", plain);
    for (const Result& r : results)
        std::printf("  %-28s %9.1f MB/s   ratio to recv %.2f\n", r.name, r.mbPerSecond,
                    r.mbPerSecond / plain);
    return 0;
}
