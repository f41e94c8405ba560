#include "support/script_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace zorvia::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStepLimitMs = 5000;
constexpr int kHoldLimitMs = 120000;

int listenLoopback(int backlog, std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error("socket");
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(fd, backlog) != 0) {
        ::close(fd);
        throw std::runtime_error("bind/listen");
    }
    socklen_t len = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    port = ntohs(sa.sin_port);
    return fd;
}

bool waitReadable(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
}

} // namespace

Step send(std::string bytes) {
    return {Step::Kind::Send, std::move(bytes), 0};
}
Step pause(int ms) {
    return {Step::Kind::Pause, {}, ms};
}
Step awaitText(std::string text) {
    return {Step::Kind::AwaitText, std::move(text), 0};
}
Step shutdownWrite() {
    return {Step::Kind::ShutdownWrite, {}, 0};
}
Step reset() {
    return {Step::Kind::Reset, {}, 0};
}
Step close() {
    return {Step::Kind::Close, {}, 0};
}
Step awaitClose() {
    return {Step::Kind::AwaitClose, {}, 0};
}
Step hold() {
    return {Step::Kind::Hold, {}, 0};
}

ScriptServer::ScriptServer(std::vector<Step> script, int connections, int acceptWaitMs)
    : script_(std::move(script)) {
    listener_ = listenLoopback(8, port_);
    thread_ = std::thread([this, connections, acceptWaitMs] { run(connections, acceptWaitMs); });
}

ScriptServer::~ScriptServer() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    ::close(listener_);
}

std::string ScriptServer::received() {
    const auto deadline = Clock::now() + std::chrono::milliseconds(kStepLimitMs * 2);
    while (!done_ && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::lock_guard lock(mutex_);
    return received_;
}

void ScriptServer::run(int connections, int acceptWaitMs) {
    for (int i = 0; i < connections && !stop_; ++i) {
        // Accept within the step limit, looking at the stop flag meanwhile.
        int fd = -1;
        const auto deadline = Clock::now() + std::chrono::milliseconds(acceptWaitMs);
        while (fd < 0 && !stop_ && Clock::now() < deadline) {
            if (waitReadable(listener_, 20))
                fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        }
        if (fd < 0)
            break;
        ++accepted_;
        play(fd);
    }
    done_ = true;
}

// Takes what the client has sent within the wait and notes its close.
void ScriptServer::drain(int fd, int waitMs) {
    char buf[4096];
    while (waitReadable(fd, waitMs)) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) {
            if (n == 0)
                sawClose_ = true;
            return;
        }
        std::lock_guard lock(mutex_);
        received_.append(buf, std::size_t(n));
        waitMs = 0;
    }
}

void ScriptServer::play(int fd) {
    bool open = true;
    for (const Step& step : script_) {
        if (stop_ || !open)
            break;
        drain(fd, 0);
        switch (step.kind) {
        case Step::Kind::Send: {
            std::size_t done = 0;
            while (done < step.data.size()) {
                const ssize_t n =
                    ::send(fd, step.data.data() + done, step.data.size() - done, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                done += std::size_t(n);
            }
            break;
        }
        case Step::Kind::Pause: {
            const auto deadline = Clock::now() + std::chrono::milliseconds(step.ms);
            while (!stop_ && Clock::now() < deadline)
                std::this_thread::sleep_for(std::min<Clock::duration>(std::chrono::milliseconds(20),
                                                                      deadline - Clock::now()));
            break;
        }
        case Step::Kind::Hold: {
            const int held = holds_++;
            const auto deadline = Clock::now() + std::chrono::milliseconds(kHoldLimitMs);
            while (releases_ <= held && !stop_ && !sawClose_ && Clock::now() < deadline)
                drain(fd, 20);
            break;
        }
        case Step::Kind::AwaitText: {
            const auto deadline = Clock::now() + std::chrono::milliseconds(kStepLimitMs);
            for (;;) {
                {
                    std::lock_guard lock(mutex_);
                    if (received_.find(step.data) != std::string::npos)
                        break;
                }
                if (Clock::now() >= deadline || stop_ || sawClose_)
                    break;
                drain(fd, 20);
            }
            break;
        }
        case Step::Kind::ShutdownWrite:
            ::shutdown(fd, SHUT_WR);
            break;
        case Step::Kind::Reset: {
            const linger hard{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            ::close(fd);
            open = false;
            break;
        }
        case Step::Kind::Close:
            ::close(fd);
            open = false;
            break;
        case Step::Kind::AwaitClose: {
            const auto deadline = Clock::now() + std::chrono::milliseconds(kStepLimitMs);
            sawClose_ = false;
            while (!sawClose_ && !stop_ && Clock::now() < deadline)
                drain(fd, 20);
            break;
        }
        }
    }
    if (open) {
        drain(fd, 0);
        ::close(fd);
    }
}

bool waitForHold(const ScriptServer& server, int count, int ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (server.holdsReached() < count && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return server.holdsReached() >= count;
}

std::uint16_t unusedPort() {
    std::uint16_t port = 0;
    const int fd = listenLoopback(1, port);
    ::close(fd);
    return port;
}

StalledListener::StalledListener() {
    listener_ = listenLoopback(0, port_);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port_);
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; i < 3; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        fillers_.push_back(fd);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

StalledListener::~StalledListener() {
    for (const int fd : fillers_)
        ::close(fd);
    ::close(listener_);
}

} // namespace zorvia::test
