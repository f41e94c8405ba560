#pragma once

#include "net/input_queue.h"
#include "net/net_io_handler.h"
#include "net/stream.h"
#include "text/ansi.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zorvia {

enum class TNetStatus { hsResolving, hsConnecting, hsConnected, hsDisconnecting, hsDisconnected };
enum class TNetMaxLineAction { maException, maSplit };
enum class TWorkMode { wmRead, wmWrite };

// A component of the stream client family: reports status texts.
class TNetComponent {
public:
    using TNetStatusEvent =
        std::function<void(TNetComponent& Sender, TNetStatus Status, const AnsiString& Text)>;

    TNetComponent() = default;
    virtual ~TNetComponent() = default;
    TNetComponent(const TNetComponent&) = delete;
    TNetComponent& operator=(const TNetComponent&) = delete;

    TNetStatusEvent OnStatus;

protected:
    void DoStatus(TNetStatus status, const AnsiString& text);
};

// A TCP connection with its own input queue. Every failure raises an error
// derived from ENetException (net_exceptions.h).
class TNetTCPConnection : public TNetComponent {
public:
    using TNetNotifyEvent = std::function<void(TNetTCPConnection& Sender)>;
    using TWorkEvent =
        std::function<void(TNetTCPConnection& Sender, TWorkMode Mode, std::int64_t Count)>;
    using TWorkEndEvent = std::function<void(TNetTCPConnection& Sender, TWorkMode Mode)>;

    ~TNetTCPConnection() override;

    bool ASCIIFilter() const { return asciiFilter_; }
    void SetASCIIFilter(bool value) { asciiFilter_ = value; }
    const std::shared_ptr<TNetIOHandlerSocket>& IOHandler() const { return ioHandler_; }
    // A handler set here is used as it is and not freed at disconnect.
    void SetIOHandler(std::shared_ptr<TNetIOHandlerSocket> handler);
    int MaxLineLength() const { return maxLineLength_; }
    void SetMaxLineLength(int value) { maxLineLength_ = value < 0 ? 0 : value; }
    TNetMaxLineAction MaxLineAction() const { return maxLineAction_; }
    void SetMaxLineAction(TNetMaxLineAction value) { maxLineAction_ = value; }
    // Wait limit in milliseconds of reads that use the default timeout; 0
    // waits without limit.
    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int ms) { readTimeout_ = ms < 0 ? 0 : ms; }
    int RecvBufferSize() const { return recvBufferSize_; }
    void SetRecvBufferSize(int value) { recvBufferSize_ = value < 1 ? 1 : value; }
    int SendBufferSize() const { return sendBufferSize_; }
    void SetSendBufferSize(int value) { sendBufferSize_ = value < 1 ? 1 : value; }

    // Whether the last ReadLine split an over-long line, or ended without a
    // line because its wait ran out or saw the peer close.
    bool ReadLnSplit() const { return readLnSplit_; }
    bool ReadLnTimedOut() const { return readLnTimedOut_; }
    bool ClosedGracefully() const { return closedGracefully_; }
    std::size_t InputQueueSize() const { return inputQueue_.size(); }

    // True while the socket is open. Never reads; once a read has seen the
    // peer close, this closes the socket and returns false.
    bool Connected();
    virtual void Disconnect();

    // Sends text + CR LF.
    void WriteLine(const AnsiString& text);
    // The next line without its terminator (empty terminator = LF; with LF a
    // CR before it goes too). Timeout -1 = ReadTimeout; maxLength -1 =
    // MaxLineLength, 0 = no limit.
    AnsiString ReadLine(const AnsiString& terminator = "\n", int timeout = -1, int maxLength = -1);
    // Copies `count` bytes, or everything until the peer closes, into the
    // stream at its position; queued bytes come first.
    void ReadStream(TStream& stream, std::int64_t count = -1, bool readUntilClose = false);
    // Reads exactly n bytes.
    void ReadExact(void* buffer, std::size_t n);
    // Up to n bytes for large transfers: queued bytes when there are any,
    // otherwise one receive of up to n bytes straight into `buffer`, past the
    // input queue. Waits at most `timeoutMs` (-1: no limit) for the socket.
    // Returns the count; 0 when the peer has closed and nothing is queued;
    // -1 when the wait ran out. Socket errors raise ENetSocketError.
    int ReadSome(void* buffer, std::size_t n, int timeoutMs);
    // Receives once into the input queue; the count received, 0 when the
    // peer closed, -1 when the wait ran out and that does not raise.
    int FillInputBuffer(bool raiseIfDisconnected = true, int timeout = -1,
                        bool raiseOnTimeout = true);
    // Notices a close seen by a read: closes the socket and reports it.
    // Returns whether the connection is gone.
    bool NoteDisconnect(bool raiseIfDisconnected = true, bool ignoreQueue = false);
    // Marks the connection closed and closes the socket.
    void DropSocket();

    TNetNotifyEvent OnDisconnected;
    TWorkEvent OnWork;
    TWorkEvent OnWorkBegin;
    TWorkEndEvent OnWorkEnd;

protected:
    // Prepares for a new connection: a handler (created when none is set),
    // opened, with an empty input queue. Raises ENetAlreadyConnected.
    TNetIOHandlerSocket& OpenHandler();
    void DoDisconnected();

private:
    void writeToStream(TStream& stream, const char* bytes, std::int64_t n);
    void finishStream(TStream& stream);

    std::shared_ptr<TNetIOHandlerSocket> ioHandler_;
    bool freeIOHandler_ = false;
    net::InputQueue inputQueue_;
    std::vector<char> recvBuffer_;
    bool closedGracefully_ = false;
    bool readLnSplit_ = false;
    bool readLnTimedOut_ = false;
    bool asciiFilter_ = false;
    int maxLineLength_ = 16384;
    TNetMaxLineAction maxLineAction_ = TNetMaxLineAction::maException;
    int readTimeout_ = 0;
    int recvBufferSize_ = 32768;
    int sendBufferSize_ = 32768;
};

} // namespace zorvia
