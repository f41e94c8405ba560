#pragma once

#include "text/ansi.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace zorvia {

class TNetTCPClient;
class TStream;

namespace portal {

// Limits of a game file's exchange with the portal host.
struct DownloadLimits {
    int connectMs = 10000;
    int headMs = 30000;              // status line and head together
    std::size_t maxHead = 64 * 1024; // bytes of the head
    int idleMs = 30000;              // longest wait for body bytes
    int sliceMs = 10;                // longest time between two calls of `idle`
};

struct DownloadHooks {
    // After every block: the count so far, a multiple of 256, and the
    // announced length (0 when none was announced).
    std::function<void(std::int64_t counter, std::int64_t length)> progress;
    // Called at least every sliceMs while the exchange runs, the waits for
    // the connect and for data included, so that the caller can keep its
    // window live. Returning false abandons the exchange at once:
    // TransferAbandoned is raised and the client is not touched again (it
    // may be gone with its owner).
    std::function<bool()> idle;
};

// Whether a game's file name names a Flash movie: a name before ".swf",
// in any letter case.
bool isMovieFileName(const AnsiString& name);
// Whether a file that starts with these bytes is a Flash movie: "FWS"
// (uncompressed), "CWS" or "ZWS" (compressed).
bool isMovieFile(std::string_view start);

class TransferAbandoned : public std::exception {
public:
    const char* what() const noexcept override { return "transfer abandoned"; }
};

// One game file fetched by path from the portal host: the request lines,
// the status line and head, then the body. With an announced length exactly
// that many bytes are read and the connection is closed; without one, the
// body runs until the portal closes. The body is received in large blocks;
// the progress counts blocks of 256 bytes: whole blocks while the count
// after the block stays below the announced length, then one last block.
class GameTransfer {
public:
    static constexpr std::int64_t kBlockSize = 256;

    GameTransfer(TNetTCPClient& client, DownloadLimits limits, DownloadHooks hooks);

    // Connects, sends "GET /" + path and reads the head. False, with the
    // connection closed and nothing else done, when the path holds a control
    // character (nothing is sent), the status line is not "HTTP/1.1 200 OK",
    // or the head does not end within its limits or is cut short. A failing
    // connect and a "Content-Length: " that is no number raise.
    bool begin(const AnsiString& siteHost, const AnsiString& path);

    // Copies the body into `target`. Raises ENetReadTimeout when no byte
    // comes for idleMs, and ENetConnClosedGracefully when the portal closes
    // before the announced length has arrived. Bytes after the announced
    // length are not read.
    void receiveBody(TStream& target);

    std::int64_t length() const { return length_; }
    // The first bytes of the body received so far, at most kStartBytes.
    static constexpr std::size_t kStartBytes = 3;
    const std::string& bodyStart() const { return bodyStart_; }

private:
    using Clock = std::chrono::steady_clock;

    // The next line of the head; false when the head failed.
    bool headLine(AnsiString& line);
    // Up to n body bytes into buffer, waiting at most idleMs for them while
    // the caller runs; 0 when the portal has closed.
    int receive(char* buffer, std::size_t n);
    // The progress count once `received` body bytes are here, before the
    // last block.
    std::int64_t wholeBlocks(std::int64_t received) const;
    // The progress count after the last block.
    std::int64_t finalCount() const;
    // Lets the caller run now; false when it abandons the exchange.
    bool idleNow();
    // Lets the caller run when its time slice is over.
    void pump();

    TNetTCPClient& client_;
    DownloadLimits limits_;
    DownloadHooks hooks_;
    Clock::time_point headDeadline_;
    std::size_t headBytes_ = 0;
    Clock::time_point lastIdle_;
    std::int64_t length_ = 0;
    bool announced_ = false;
    std::string bodyStart_;
};

} // namespace portal
} // namespace zorvia
