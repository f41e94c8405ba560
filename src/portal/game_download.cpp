#include "portal/game_download.h"

#include "net/net_exceptions.h"
#include "net/net_tcp_client.h"
#include "net/stream.h"
#include "portal/request_head.h"
#include "portal/site_host.h"
#include "text/exception.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <string>
#include <string_view>

namespace zorvia::portal {

namespace {

constexpr std::string_view kLengthHeader = "Content-Length: ";

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

// Body bytes on their way to the target: received into one large buffer
// and written when it is half full. A file is asked to start putting what
// was written on the disk at once, so that its final sync waits for little.
class BodyWriter {
public:
    explicit BodyWriter(TStream& target)
        : target_(target), file_(dynamic_cast<TFileStream*>(&target)),
          buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

    char* space() { return buffer_.get() + filled_; }
    std::size_t room() const { return kBufferSize - filled_; }
    void added(std::size_t n) {
        filled_ += n;
        written_ += std::int64_t(n);
        if (filled_ >= kBufferSize / 2)
            flush();
    }
    void flush() {
        if (filled_ == 0)
            return;
        const std::int64_t at = target_.Position();
        target_.Write(buffer_.get(), std::int64_t(filled_));
        if (file_)
            file_->StartWriteBack(at, std::int64_t(filled_));
        filled_ = 0;
    }
    std::int64_t written() const { return written_; }

private:
    static constexpr std::size_t kBufferSize = 1024 * 1024;

    TStream& target_;
    TFileStream* file_;
    // Left unfilled: only what is received is read back, and a small game
    // touches little of it.
    std::unique_ptr<char[]> buffer_;
    std::size_t filled_ = 0;
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
    announced_ = false;
    for (AnsiString line; ok;) {
        ok = headLine(line);
        if (!ok || line.empty())
            break;
        if (line.find(kLengthHeader) != AnsiString::npos) {
            length_ = announcedLength(line);
            announced_ = true;
        }
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

int GameTransfer::receive(char* buffer, std::size_t n) {
    const auto since = Clock::now();
    for (;;) {
        const int got = client_.ReadSome(buffer, n, limits_.sliceMs);
        if (got >= 0)
            return got;
        if (Clock::now() - since >= std::chrono::milliseconds(limits_.idleMs))
            throw ENetReadTimeout();
        pump();
    }
}

std::int64_t GameTransfer::wholeBlocks(std::int64_t received) const {
    // Whole blocks are read while the count after the block stays below the
    // announced length.
    if (length_ <= 0)
        return 0;
    const std::int64_t lastWhole = (length_ - 1) / kBlockSize * kBlockSize;
    return std::min(received / kBlockSize * kBlockSize, lastWhole);
}

std::int64_t GameTransfer::finalCount() const {
    return std::max(kBlockSize, (length_ + kBlockSize - 1) / kBlockSize * kBlockSize);
}

bool isMovieFileName(const AnsiString& name) {
    constexpr std::string_view kSuffix = ".swf";
    if (name.size() <= kSuffix.size())
        return false;
    const std::string_view end = std::string_view(name).substr(name.size() - kSuffix.size());
    return std::equal(end.begin(), end.end(), kSuffix.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

bool isMovieFile(std::string_view start) {
    return start == "FWS" || start == "CWS" || start == "ZWS";
}

void GameTransfer::receiveBody(TStream& target) {
    BodyWriter out(target);
    const bool counted = announced_ && length_ >= 0;
    std::int64_t shown = 0;
    for (;;) {
        std::size_t want = out.room();
        if (counted)
            want = std::size_t(std::min<std::int64_t>(std::int64_t(want), length_ - out.written()));
        if (want == 0)
            break; // the announced length is here: the rest is not read
        const char* received = out.space();
        const int got = receive(out.space(), want);
        if (bodyStart_.size() < kStartBytes)
            bodyStart_.append(received,
                              std::min(std::size_t(got), kStartBytes - bodyStart_.size()));
        if (got == 0) {
            out.flush();
            if (counted)
                throw ENetConnClosedGracefully();
            break; // the end of a body without a length
        }
        out.added(std::size_t(got));
        const std::int64_t counter = wholeBlocks(out.written());
        if (counter > shown && hooks_.progress) {
            shown = counter;
            hooks_.progress(counter, length_);
        }
        pump();
    }
    out.flush();
    if (counted)
        client_.Disconnect();
    if (hooks_.progress)
        hooks_.progress(finalCount(), length_);
}

} // namespace zorvia::portal
