#include "net/net_tcp_connection.h"

#include "net/net_exceptions.h"
#include "net/socket_errors.h"

#include <algorithm>
#include <arpa/inet.h>

namespace zorvia {

using namespace zorvia::net;

namespace {

// Timeout value of an unlimited wait.
constexpr int kNoLimit = -2;
// Longest read until close, as a 32-bit count.
constexpr std::int64_t kUntilCloseLimit = 2147483647;

} // namespace

void TNetComponent::DoStatus(TNetStatus status, const AnsiString& text) {
    if (OnStatus)
        OnStatus(*this, status, text);
}

TNetTCPConnection::~TNetTCPConnection() {
    DropSocket();
    if (freeIOHandler_)
        ioHandler_.reset();
}

void TNetTCPConnection::SetIOHandler(std::shared_ptr<TNetIOHandlerSocket> handler) {
    ioHandler_ = std::move(handler);
    freeIOHandler_ = false;
}

TNetIOHandlerSocket& TNetTCPConnection::OpenHandler() {
    if (!ioHandler_) {
        ioHandler_ = std::make_shared<TNetIOHandlerSocket>();
        freeIOHandler_ = true;
    } else if (ioHandler_->Connected()) {
        throw ENetAlreadyConnected();
    }
    ioHandler_->Open();
    inputQueue_.clear();
    closedGracefully_ = false;
    return *ioHandler_;
}

void TNetTCPConnection::DoDisconnected() {
    if (OnDisconnected)
        OnDisconnected(*this);
}

void TNetTCPConnection::DropSocket() {
    closedGracefully_ = true;
    if (ioHandler_)
        ioHandler_->Close();
}

void TNetTCPConnection::Disconnect() {
    DoStatus(TNetStatus::hsDisconnecting, "Disconnecting.");
    DropSocket();
    if (freeIOHandler_) {
        ioHandler_.reset();
        freeIOHandler_ = false;
    }
    DoDisconnected();
    DoStatus(TNetStatus::hsDisconnected, "Disconnected.");
}

bool TNetTCPConnection::NoteDisconnect(bool raiseIfDisconnected, bool ignoreQueue) {
    bool disconnected = false;
    if (closedGracefully_ || !ioHandler_) {
        if (ioHandler_) {
            disconnected = true;
            if (ioHandler_->Connected()) {
                DropSocket();
                DoStatus(TNetStatus::hsDisconnected, "Disconnected.");
                DoDisconnected();
            }
        }
    } else {
        disconnected = !ioHandler_->Connected();
    }
    if (disconnected && raiseIfDisconnected && (inputQueue_.empty() || ignoreQueue))
        throw ENetConnClosedGracefully();
    return disconnected;
}

bool TNetTCPConnection::Connected() {
    NoteDisconnect(false);
    return ioHandler_ && ioHandler_->Connected();
}

int TNetTCPConnection::FillInputBuffer(bool raiseIfDisconnected, int timeout, bool raiseOnTimeout) {
    if (timeout == -1)
        timeout = readTimeout_ == 0 ? kNoLimit : readTimeout_;
    NoteDisconnect(raiseIfDisconnected, false);
    if (!Connected()) {
        if (raiseIfDisconnected)
            throw ENetNotConnected();
        return 0;
    }
    if (recvBuffer_.size() != std::size_t(recvBufferSize_))
        recvBuffer_.assign(std::size_t(recvBufferSize_), 0);
    int count = 0;
    do {
        if (!ioHandler_->Readable(timeout < 0 ? -1 : timeout)) {
            if (raiseOnTimeout)
                throw ENetReadTimeout();
            return -1;
        }
        count = ioHandler_->Recv(recvBuffer_.data(), recvBufferSize_);
        closedGracefully_ = count == 0;
        if (count < 0) {
            const int code = lastSocketError();
            if (code != WSAESHUTDOWN && code != WSAECONNABORTED)
                throw ENetSocketError(code);
            DropSocket();
            if (inputQueue_.empty())
                throw ENetSocketError(code);
            count = 0;
        }
        if (count > 0) {
            if (asciiFilter_) {
                for (int i = 0; i < count; ++i)
                    recvBuffer_[std::size_t(i)] &= 0x7F;
            }
            inputQueue_.append(recvBuffer_.data(), std::size_t(count));
        }
        NoteDisconnect(raiseIfDisconnected, false);
    } while (count == 0 && Connected());
    return count;
}

AnsiString TNetTCPConnection::ReadLine(const AnsiString& terminator, int timeout, int maxLength) {
    if (maxLength < 0)
        maxLength = maxLineLength_;
    const AnsiString term = terminator.empty() ? AnsiString("\n") : terminator;
    readLnSplit_ = false;
    readLnTimedOut_ = false;
    const std::size_t limit = std::size_t(maxLength);
    std::size_t searched = 0;
    for (;;) {
        const std::string_view queue = inputQueue_.view();
        // A terminator may straddle the part searched before and the new bytes.
        const std::size_t from = searched >= term.size() ? searched - term.size() + 1 : 0;
        const std::size_t found = queue.find(term, from);
        searched = queue.size();
        const bool tooLong =
            maxLength > 0 &&
            (found == std::string_view::npos ? queue.size() > limit : found > limit);
        if (tooLong) {
            if (maxLineAction_ == TNetMaxLineAction::maException)
                throw ENetReadLnMaxLineLengthExceeded();
            readLnSplit_ = true;
            return inputQueue_.take(limit);
        }
        if (found == std::string_view::npos) {
            NoteDisconnect(true, true);
            // A wait that saw the peer close (with part of a line queued) or
            // ran out of time ends the line empty; the bytes stay queued.
            if (FillInputBuffer(true, timeout, timeout == -1) <= 0) {
                readLnTimedOut_ = true;
                return {};
            }
            continue;
        }
        AnsiString line = inputQueue_.take(found + term.size());
        line.resize(found);
        if (term == "\n" && !line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }
}

void TNetTCPConnection::ReadExact(void* buffer, std::size_t n) {
    while (inputQueue_.size() < n) {
        FillInputBuffer(true, -1, true);
        NoteDisconnect(true, true);
    }
    inputQueue_.extract(static_cast<char*>(buffer), n);
}

int TNetTCPConnection::ReadSome(void* buffer, std::size_t n, int timeoutMs) {
    auto* out = static_cast<char*>(buffer);
    if (!inputQueue_.empty()) {
        const std::size_t take = std::min(n, inputQueue_.size());
        inputQueue_.extract(out, take);
        return int(take);
    }
    if (n == 0 || NoteDisconnect(false, false) || !ioHandler_)
        return 0;
    if (!ioHandler_->Readable(timeoutMs))
        return -1;
    const int count = ioHandler_->Recv(out, int(std::min<std::size_t>(n, 1u << 30)));
    if (count < 0) {
        const int code = lastSocketError();
        if (code == WSAESHUTDOWN || code == WSAECONNABORTED)
            DropSocket();
        throw ENetSocketError(code);
    }
    closedGracefully_ = count == 0;
    if (count == 0) {
        NoteDisconnect(false, false);
        return 0;
    }
    if (asciiFilter_) {
        for (int i = 0; i < count; ++i)
            out[i] = char(out[i] & 0x7F);
    }
    return count;
}

void TNetTCPConnection::writeToStream(TStream& stream, const char* bytes, std::int64_t n) {
    if (n <= 0)
        return;
    stream.Write(bytes, n);
    if (OnWork)
        OnWork(*this, TWorkMode::wmRead, n);
}

void TNetTCPConnection::finishStream(TStream& stream) {
    if (OnWorkEnd)
        OnWorkEnd(*this, TWorkMode::wmRead);
    if (stream.Size() > stream.Position())
        stream.SetSize(stream.Position());
}

void TNetTCPConnection::ReadStream(TStream& stream, std::int64_t count, bool readUntilClose) {
    if (count == -1 && !readUntilClose) {
        std::uint32_t length = 0;
        ReadExact(&length, sizeof length);
        count = ntohl(length);
    }
    if (count >= 0)
        stream.SetSize(stream.Position() + count);
    std::int64_t remaining = readUntilClose ? kUntilCloseLimit : count;
    if (OnWorkBegin)
        OnWorkBegin(*this, TWorkMode::wmRead, readUntilClose ? 0 : count);
    try {
        const std::int64_t queued = std::min<std::int64_t>(std::int64_t(inputQueue_.size()),
                                                           std::max<std::int64_t>(remaining, 0));
        if (queued > 0) {
            writeToStream(stream, inputQueue_.view().data(), queued);
            inputQueue_.take(std::size_t(queued));
            remaining -= queued;
        }
        const std::int64_t chunk = std::min<std::int64_t>(remaining, recvBufferSize_);
        std::vector<char> buffer;
        while (Connected() && remaining > 0) {
            if (buffer.empty())
                buffer.resize(std::size_t(chunk));
            std::size_t n = std::size_t(std::min(remaining, chunk));
            try {
                ReadExact(buffer.data(), n);
            } catch (const ENetConnClosedGracefully&) {
                // Whatever arrived before the close goes to the stream, also
                // when a counted read then fails.
                n = std::min(n, inputQueue_.size());
                inputQueue_.extract(buffer.data(), n);
                if (!readUntilClose) {
                    writeToStream(stream, buffer.data(), std::int64_t(n));
                    throw;
                }
            }
            writeToStream(stream, buffer.data(), std::int64_t(n));
            remaining -= std::int64_t(n);
        }
    } catch (...) {
        try {
            finishStream(stream);
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
    finishStream(stream);
}

void TNetTCPConnection::WriteLine(const AnsiString& text) {
    NoteDisconnect(true, true);
    if (!Connected())
        throw ENetNotConnected();
    const AnsiString data = text + "\r\n";
    std::size_t sent = 0;
    while (sent < data.size()) {
        const int n = int(std::min<std::size_t>(data.size() - sent, std::size_t(sendBufferSize_)));
        const int r = ioHandler_->Send(data.data() + sent, n);
        if (r < 0) {
            const int code = lastSocketError();
            if (code == WSAESHUTDOWN || code == WSAECONNABORTED || code == WSAECONNRESET)
                DropSocket();
            throw ENetSocketError(code);
        }
        if (r == 0) {
            closedGracefully_ = true;
            NoteDisconnect(true, false);
            // The socket is gone even when received bytes keep it from raising.
            throw ENetConnClosedGracefully();
        }
        sent += std::size_t(r);
        if (OnWork)
            OnWork(*this, TWorkMode::wmWrite, r);
    }
}

} // namespace zorvia
