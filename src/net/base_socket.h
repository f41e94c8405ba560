#pragma once

#include "text/ansi.h"

#include <cstdint>
#include <functional>

namespace zorvia {

enum class TSocketBlockMode { bmBlocking = 0, bmNonBlocking = 1 };

// Address family and socket type of a socket; the values are the system's.
enum class TSocketDomain { pfUnspec = 0, pfInet = 2 };
enum class TSocketType { stStream = 1 };

// A blocking socket without a receive buffer of its own: every read goes to
// the system's receive queue. No call raises; failures come back as -1, 0,
// false or empty text, and the error code goes to OnError.
class TBaseSocket {
public:
    using TSocketNotifyEvent = std::function<void(TBaseSocket& Sender)>;
    // The hook may change DataLen; it is kept within the buffer.
    using TSocketDataEvent =
        std::function<void(TBaseSocket& Sender, const void* Buf, int& DataLen)>;
    using TSocketErrorEvent = std::function<void(TBaseSocket& Sender, int SocketError)>;

    TBaseSocket();
    virtual ~TBaseSocket();
    TBaseSocket(const TBaseSocket&) = delete;
    TBaseSocket& operator=(const TBaseSocket&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool value);
    TSocketBlockMode BlockMode() const { return blockMode_; }
    void SetBlockMode(TSocketBlockMode value) { blockMode_ = value; }
    std::int64_t BytesReceived() const { return bytesReceived_; }
    std::int64_t BytesSent() const { return bytesSent_; }
    TSocketDomain Domain() const { return domain_; }
    TSocketType SockType() const { return sockType_; }
    std::int16_t Protocol() const { return protocol_; }
    int Socket() const { return socket_; }

    // Longest wait of one read for data, in milliseconds; 0 waits without
    // limit. A read that runs out of time fails with 10060.
    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int ms) { readTimeout_ = ms < 0 ? 0 : ms; }

    virtual void Close();

    int PeekBuffer(void* Buf, int BufSize);
    int ReceiveBuffer(void* Buf, int BufSize, int Flags = 0);
    int SendBuffer(const void* Buf, int BufSize, int Flags = 0);
    // Flags that are null are not asked for. TimeOut < 0 waits without limit.
    bool SelectSocket(bool* ReadReady, bool* WriteReady, bool* ExceptFlag, int TimeOut);

    int SendLine(const AnsiString& Text, const AnsiString& Eol = "\r\n");
    // The next line without its end-of-line text. Takes exactly the bytes of
    // the line off the connection; on close or error, what was collected.
    AnsiString ReceiveLine(const AnsiString& Eol = "\r\n");
    // True when at least one byte can be read within the wait.
    bool WaitForData(int TimeOut = 0);

    TSocketNotifyEvent OnCreateHandle;
    TSocketNotifyEvent OnDestroyHandle;
    TSocketErrorEvent OnError;
    TSocketDataEvent OnReceive;
    TSocketDataEvent OnSend;

protected:
    virtual void DoReceive(const void* Buf, int& DataLen);
    virtual void DoSend(const void* Buf, int& DataLen);
    virtual int CheckSocketResult(int ResultCode);
    virtual void Open();

    void DoHandleCreated();
    void DoHandleDestroyed();
    // Creates the socket; Active tells whether that worked.
    void CreateHandle();
    void DestroyHandle();
    // Fails the current operation with a given socket error code.
    int Fail(int code);

    void SetDomain(TSocketDomain value) { domain_ = value; }
    // Drops every hook, for closing during destruction.
    void DetachHooks();

private:
    int receive(void* buf, int size, int flags, int& taken);
    int waitReadable();

    bool active_ = false;
    TSocketBlockMode blockMode_ = TSocketBlockMode::bmBlocking;
    std::int64_t bytesReceived_ = 0;
    std::int64_t bytesSent_ = 0;
    TSocketDomain domain_ = TSocketDomain::pfUnspec;
    TSocketType sockType_ = TSocketType::stStream;
    std::int16_t protocol_ = 0;
    int socket_ = -1;
    int readTimeout_ = 0;
};

} // namespace zorvia
