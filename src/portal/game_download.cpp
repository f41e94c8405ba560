#include "portal/game_download.h"

#include "net/net_exceptions.h"
#include "net/net_tcp_client.h"
#include "net/stream.h"
#include "portal/request_head.h"
#include "portal/site_host.h"
#include "text/exception.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace zorvia::portal {

namespace {

constexpr std::string_view kLengthHeader = "Content-Length: ";
// Body bytes collected before they go to the file in one write.
constexpr std::size_t kWriteBatch = 256 * 1024;

// The announced length of a head line that names it: the line without its
// first 16 characters, read as a decimal integer.
std::int64_t announcedLength(const AnsiString& line) {
    const std::string_view rest = std::string_view(line).substr(kLengthHeader.size());
    std::int64_t value = 0;
    const char* begin = rest.data();
    const char* end = begin + rest.size();
    if (!rest.empty() && *begin == '+')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (rest.empty() || begin == end || error != std::errc() || stop != end)
        throw EConvertError::notValid(rest, "integer value");
    return value;
}

// Body bytes on their way to the target, written in batches.
class BatchWriter {
public:
    explicit BatchWriter(TStream& target) : target_(target) { pending_.reserve(kWriteBatch); }
    void append(const char* bytes, std::size_t n) {
        pending_.append(bytes, n);
        written_ += std::int64_t(n);
        if (pending_.size() >= kWriteBatch)
            flush();
    }
    void flush() {
        if (!pending_.empty())
            target_.Write(pending_.data(), std::int64_t(pending_.size()));
        pending_.clear();
    }
    std::int64_t written() const { return written_; }

private:
    TStream& target_;
    std::string pending_;
    std::int64_t written_ = 0;
};

} // namespace

GameTransfer::GameTransfer(TNetTCPClient& client, DownloadLimits limits, DownloadHooks hooks)
    : client_(client), limits_(limits), hooks_(std::move(hooks)), lastIdle_(Clock::now()) {}

bool GameTransfer::idleNow() {
    lastIdle_ = Clock::now();
    return !hooks_.idle || hooks_.idle();
}

void GameTransfer::pump() {
    if (Clock::now() - lastIdle_ < std::chrono::milliseconds(limits_.sliceMs))
        return;
    if (!idleNow())
        throw TransferAbandoned();
}

bool GameTransfer::begin(const AnsiString& siteHost, const AnsiString& path) {
    if (hasControlCharacter(path))
        return false;
    const HostPort where = splitHostPort(siteHost);
    client_.SetHost(where.host);
    client_.SetPort(where.port);
    // The wait for the portal keeps the caller running like every other wait.
    if (!client_.Connect(
            limits_.connectMs, [this] { return idleNow(); }, limits_.sliceMs))
        throw TransferAbandoned();

    headDeadline_ = Clock::now() + std::chrono::milliseconds(limits_.headMs);
    headBytes_ = 0;
    AnsiString status;
    bool ok = false;
    if (client_.Connected()) {
        for (const AnsiString& line : requestHeadLines("/" + path, siteHost))
            client_.WriteLine(line);
        client_.WriteLine("");
        ok = headLine(status) && status == "HTTP/1.1 200 OK";
    }
    length_ = 0;
    for (AnsiString line; ok;) {
        ok = headLine(line);
        if (!ok || line.empty())
            break;
        if (line.find(kLengthHeader) != AnsiString::npos)
            length_ = announcedLength(line);
    }
    if (!ok)
        client_.Disconnect();
    return ok;
}

bool GameTransfer::headLine(AnsiString& line) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(headDeadline_ - Clock::now())
                .count();
        // A line takes its bytes before the LF, a CR included, and the LF.
        if (left <= 0 || headBytes_ + 2 > limits_.maxHead)
            return false;
        int maxLength = int(limits_.maxHead - headBytes_ - 1);
        if (client_.MaxLineLength() > 0)
            maxLength = std::min(maxLength, client_.MaxLineLength());
        try {
            line =
                client_.ReadLine("\n", int(std::min<long long>(left, limits_.sliceMs)), maxLength);
        } catch (const ENetReadLnMaxLineLengthExceeded&) {
            return false;
        } catch (const ENetConnClosedGracefully&) {
            return false;
        } catch (const ENetNotConnected&) {
            return false;
        }
        if (!client_.ReadLnTimedOut()) {
            // Counted as if it ended in CR LF: ReadLine drops a CR before
            // the LF, and the head must not take more than its limit.
            headBytes_ += line.size() + 2;
            return true;
        }
        // A pause inside the head, or the portal closing it half-way.
        if (!client_.Connected())
            return false;
        pump();
    }
}

bool GameTransfer::fill(std::size_t n) {
    auto lastData = Clock::now();
    while (client_.InputQueueSize() < n) {
        const int got = client_.FillInputBuffer(false, limits_.sliceMs, false);
        if (got == 0)
            return false;
        const auto now = Clock::now();
        if (got > 0)
            lastData = now;
        else if (now - lastData >= std::chrono::milliseconds(limits_.idleMs))
            throw ENetReadTimeout();
        pump();
    }
    return true;
}

void GameTransfer::receiveBody(TStream& target) {
    BatchWriter out(target);
    char block[kBlockSize];
    std::int64_t counter = 0;
    for (;;) {
        counter += kBlockSize;
        if (counter < length_) {
            if (!fill(kBlockSize)) {
                out.flush();
                throw ENetConnClosedGracefully();
            }
            client_.ReadExact(block, kBlockSize);
            out.append(block, kBlockSize);
        } else {
            // The rest, until the portal closes.
            std::vector<char> rest;
            for (;;) {
                const std::size_t queued = client_.InputQueueSize();
                if (queued > 0) {
                    rest.resize(queued);
                    client_.ReadExact(rest.data(), queued);
                    out.append(rest.data(), queued);
                }
                if (!fill(1))
                    break;
            }
        }
        if (hooks_.progress)
            hooks_.progress(counter, length_);
        pump();
        if (counter >= length_)
            break;
    }
    out.flush();
    if (out.written() < length_)
        throw ENetConnClosedGracefully();
}

} // namespace zorvia::portal
