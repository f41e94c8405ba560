// Category replies of 2, 16 and 100 MB, from the parse to the filled list
// on screen:
//  - parsing a reply into list items (linear: the time per megabyte stays
//    flat as the reply grows);
//  - filling the game box's list box with those items, beside a plain
//    QListWidget given the same names in one call;
//  - the game box started against a loopback portal whose category list has
//    that size: time from the start to the main window on screen with its
//    list filled, and the peak memory of the process, beside a normal start
//    whose list is a few categories. A reply over the 32 MiB limit is
//    refused whole, so the 100 MB start shows an empty list.
// Each start runs in a child process of its own, so that its peak memory is
// its own; the portal runs in the parent.
#include "app/application.h"
#include "portal/addresses.h"
#include "portal/list_reply.h"
#include "ui/kit/list_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"

#include <QListWidget>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A category reply of about `bytes` bytes, in UTF-8 as the portal sends it.
std::string categoryReply(std::size_t bytes) {
    std::string reply;
    std::size_t id = 0;
    while (reply.size() < bytes) {
        ++id;
        reply += std::to_string(id) + "|休闲游戏 " + std::to_string(id) + "|";
    }
    return reply;
}

// The peak resident memory of this process, in MB.
double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// A portal on 127.0.0.1: the category list for "action=catlist", a small
// page for anything else; one thread per connection, until destroyed.
class Portal {
public:
    explicit Portal(std::string catlist) : catlist_(std::move(catlist)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 16);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        accepter_ = std::thread([this] {
            while (!stop_) {
                pollfd p{listener_, POLLIN, 0};
                if (::poll(&p, 1, 100) == 1)
                    if (const int fd = ::accept(listener_, nullptr, nullptr); fd >= 0)
                        workers_.emplace_back([this, fd] { serve(fd); });
            }
        });
    }
    ~Portal() {
        stop_ = true;
        accepter_.join();
        for (auto& worker : workers_)
            worker.join();
        ::close(listener_);
    }
    int port() const { return port_; }

private:
    void serve(int fd) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && !stop_) {
            pollfd r{fd, POLLIN, 0};
            if (::poll(&r, 1, 100) != 1)
                continue;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, std::size_t(n));
        }
        const bool catlist = request.find("action=catlist") != std::string::npos;
        static const std::string page = "<html><title>portal</title></html>";
        const std::string& body = catlist ? catlist_ : page;
        const std::string reply =
            "HTTP/1.1 200 OK\r\nContent-Type: " +
            std::string(catlist ? "text/plain" : "text/html") +
            "; charset=utf-8\r\nContent-Length: " + std::to_string(body.size()) +
            "\r\nConnection: close\r\n\r\n";
        for (const std::string* part : {&reply, &body}) {
            std::size_t done = 0;
            while (done < part->size() && !stop_) {
                const ssize_t n =
                    ::send(fd, part->data() + done, part->size() - done, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                done += std::size_t(n);
            }
        }
        ::close(fd);
    }

    std::string catlist_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread accepter_;
    std::vector<std::thread> workers_;
};

void parseAndFill(std::size_t megabytes) {
    const std::string reply = categoryReply(megabytes * 1024 * 1024);
    auto start = Clock::now();
    const auto items = zorvia::portal::parseListReply(reply, "127.0.0.1:8380", "/list.php?id=");
    const double parseMs = msSince(start);

    QWidget window;
    start = Clock::now();
    auto* list = new zorvia::ui::TListBox(&window);
    for (const auto& item : items)
        list->addItem(item.display, item.link);
    const double fillMs = msSince(start);

    QStringList names;
    names.reserve(qsizetype(items.size()));
    for (const auto& item : items)
        names << zorvia::ui::toQ(item.display);
    start = Clock::now();
    QListWidget plain;
    plain.addItems(names);
    const double plainMs = msSince(start);
    std::printf("%6zuMB %9zu %10.1f %14.1f %14.1f\n", megabytes, items.size(), parseMs, fillMs,
                plainMs);
}

// Child: one start of the game box against the portal its parent serves
// (ZORVIA_SITE_HOST). Prints "ms items baseMB peakMB".
int startChild() {
    const double before = peakMegabytes();
    const auto start = Clock::now();
    zorvia::TForm1 form;
    form.FormCreate();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form, 60000))
        return 1;
    const double ms = msSince(start);
    const auto* list = form.findChild<zorvia::ui::TListBox*>(QStringLiteral("ListBox1"));
    std::printf("%.0f %d %.0f %.0f\n", ms, list ? list->count() : -1, before, peakMegabytes());
    return 0;
}

// One start in a child process against a portal, served here, whose list
// has about `bytes` bytes.
QString childFigure(const char* self, std::size_t bytes) {
    Portal portal(categoryReply(bytes));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ZORVIA_SITE_HOST", "127.0.0.1:" + QString::number(portal.port()));
    child.setProcessEnvironment(environment);
    child.start(QString::fromLocal8Bit(self), {"--start"});
    if (!child.waitForFinished(20 * 60 * 1000) || child.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
}

} // namespace

int main(int argc, char** argv) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir webStorage;
    setenv("ZORVIA_WEBENGINE_DIR", webStorage.path().toLocal8Bit().constData(), 0);
    zorvia::TApplication app(argc, argv);
    if (argc == 2 && std::string(argv[1]) == "--start")
        return startChild();

    std::printf("Parse and list box fill, ms (anchor: a plain QListWidget given the names):\n");
    std::printf("%8s %9s %10s %14s %14s\n", "reply", "items", "parse", "TListBox fill",
                "plain fill");
    for (const std::size_t megabytes : {2u, 16u})
        parseAndFill(megabytes);
    std::printf("100 MB is over the reply limit: the exchange refuses it whole (below).\n\n");

    std::printf("Start to main window on screen, list filled (anchor: a normal start):\n");
    std::printf("%10s %10s %8s %16s\n", "reply", "ms", "items", "peak MB (base)");
    const struct {
        const char* what;
        std::size_t bytes;
    } starts[] = {
        {"normal", 2000}, {"2 MB", 2u << 20}, {"16 MB", 16u << 20}, {"100 MB", 100u << 20}};
    for (const auto& s : starts) {
        const QStringList f = childFigure(argv[0], s.bytes).split(' ');
        if (f.size() != 4) {
            std::printf("%10s    failed\n", s.what);
            continue;
        }
        std::printf("%10s %10s %8s %9s (%s)\n", s.what, qPrintable(f[0]), qPrintable(f[1]),
                    qPrintable(f[3]), qPrintable(f[2]));
        std::fflush(stdout);
    }
    return 0;
}
