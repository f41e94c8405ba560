#include "net/base_socket.h"

#include "net/socket_errors.h"
#include "net/socket_ops.h"

#include <algorithm>
#include <sys/socket.h>

namespace zorvia {

using namespace zorvia::net;

namespace {

constexpr int kLineWindow = 512;

// Length of the longest tail of `text` that is a proper start of `eol`.
std::size_t partialEolAtEnd(const AnsiString& text, const AnsiString& eol) {
    for (std::size_t k = std::min(text.size(), eol.size() - 1); k > 0; --k) {
        if (text.compare(text.size() - k, k, eol, 0, k) == 0)
            return k;
    }
    return 0;
}

} // namespace

TBaseSocket::TBaseSocket() = default;

TBaseSocket::~TBaseSocket() {
    DetachHooks();
    TBaseSocket::Close();
}

void TBaseSocket::DetachHooks() {
    OnCreateHandle = nullptr;
    OnDestroyHandle = nullptr;
    OnError = nullptr;
    OnReceive = nullptr;
    OnSend = nullptr;
}

void TBaseSocket::SetActive(bool value) {
    if (value == active_)
        return;
    if (value)
        Open();
    else
        Close();
}

void TBaseSocket::Open() {
    if (!active_)
        CreateHandle();
}

void TBaseSocket::Close() {
    if (active_)
        DestroyHandle();
}

void TBaseSocket::CreateHandle() {
    socket_ = CheckSocketResult(openStreamSocket());
    active_ = socket_ != -1;
    if (!active_)
        return;
    if (blockMode_ == TSocketBlockMode::bmNonBlocking)
        CheckSocketResult(setNonBlocking(socket_, true));
    bytesReceived_ = 0;
    bytesSent_ = 0;
    DoHandleCreated();
}

void TBaseSocket::DestroyHandle() {
    CheckSocketResult(closeSocket(socket_));
    socket_ = -1;
    active_ = false;
    DoHandleDestroyed();
}

void TBaseSocket::DoHandleCreated() {
    if (active_ && OnCreateHandle)
        OnCreateHandle(*this);
}

void TBaseSocket::DoHandleDestroyed() {
    if (OnDestroyHandle)
        OnDestroyHandle(*this);
}

void TBaseSocket::DoReceive(const void* Buf, int& DataLen) {
    if (OnReceive)
        OnReceive(*this, Buf, DataLen);
    bytesReceived_ += DataLen;
}

void TBaseSocket::DoSend(const void* Buf, int& DataLen) {
    if (OnSend)
        OnSend(*this, Buf, DataLen);
}

int TBaseSocket::CheckSocketResult(int ResultCode) {
    if (ResultCode == -1 && OnError)
        OnError(*this, lastSocketError());
    return ResultCode;
}

int TBaseSocket::Fail(int code) {
    setLastSocketError(code);
    return CheckSocketResult(-1);
}

// With a read time limit, waits until the socket can be read. Returns 0 when
// the read may go ahead, -1 (reported) when the time ran out.
int TBaseSocket::waitReadable() {
    if (readTimeout_ <= 0 || socket_ < 0 || blockMode_ != TSocketBlockMode::bmBlocking)
        return 0;
    Readiness ready;
    const int r = waitSocket(socket_, true, false, false, readTimeout_, ready);
    if (r == 0)
        return Fail(WSAETIMEDOUT);
    // An error shows up again in the read itself.
    return 0;
}

int TBaseSocket::PeekBuffer(void* Buf, int BufSize) {
    if (waitReadable() < 0)
        return -1;
    return CheckSocketResult(static_cast<int>(
        recvRetry(socket_, Buf, static_cast<std::size_t>(std::max(BufSize, 0)), MSG_PEEK)));
}

int TBaseSocket::receive(void* buf, int size, int flags, int& taken) {
    taken = -1;
    if (waitReadable() < 0)
        return -1;
    taken = CheckSocketResult(static_cast<int>(
        recvRetry(socket_, buf, static_cast<std::size_t>(std::max(size, 0)), flags)));
    if (taken == -1)
        return -1;
    int count = taken;
    DoReceive(buf, count);
    return std::clamp(count, 0, std::max(size, 0));
}

int TBaseSocket::ReceiveBuffer(void* Buf, int BufSize, int Flags) {
    int taken = 0;
    return receive(Buf, BufSize, Flags, taken);
}

int TBaseSocket::SendBuffer(const void* Buf, int BufSize, int Flags) {
    int count = std::max(BufSize, 0);
    DoSend(Buf, count);
    count = std::clamp(count, 0, std::max(BufSize, 0));
    const int sent =
        CheckSocketResult(static_cast<int>(sendRetry(socket_, Buf, std::size_t(count), Flags)));
    if (sent != -1)
        bytesSent_ += sent;
    return sent;
}

bool TBaseSocket::SelectSocket(bool* ReadReady, bool* WriteReady, bool* ExceptFlag, int TimeOut) {
    if (!active_)
        return false;
    Readiness ready;
    const int count =
        CheckSocketResult(waitSocket(socket_, ReadReady != nullptr, WriteReady != nullptr,
                                     ExceptFlag != nullptr, TimeOut, ready));
    if (ReadReady)
        *ReadReady = ready.readable;
    if (WriteReady)
        *WriteReady = ready.writable;
    if (ExceptFlag)
        *ExceptFlag = ready.exceptional;
    return count > 0;
}

bool TBaseSocket::WaitForData(int TimeOut) {
    bool readable = false;
    bool exceptional = false;
    if (!SelectSocket(&readable, nullptr, &exceptional, TimeOut) || !readable || exceptional)
        return false;
    char byte = 0;
    return PeekBuffer(&byte, 1) == 1;
}

int TBaseSocket::SendLine(const AnsiString& Text, const AnsiString& Eol) {
    const AnsiString line = Text + Eol;
    return SendBuffer(line.data(), static_cast<int>(line.size()), 0);
}

AnsiString TBaseSocket::ReceiveLine(const AnsiString& Eol) {
    AnsiString line;
    if (Eol.empty())
        return line;
    // Bytes already taken off the connection that begin an end-of-line
    // text; the next window decides whether they end the line.
    std::size_t held = 0;
    char buffer[kLineWindow];
    for (;;) {
        const int n = PeekBuffer(buffer, kLineWindow - 1);
        if (n <= 0)
            break;
        AnsiString window = Eol.substr(0, held);
        window.append(buffer, std::size_t(n));
        const std::size_t found = window.find(Eol);
        const std::size_t take =
            found == AnsiString::npos ? std::size_t(n) : found + Eol.size() - held;
        int taken = 0;
        receive(buffer, static_cast<int>(take), 0, taken);
        if (taken <= 0)
            break;
        if (found != AnsiString::npos) {
            line.append(window, 0, found);
            return line;
        }
        // Only what the peek showed was taken, so `taken` equals `n` here.
        held = partialEolAtEnd(window, Eol);
        line.append(window, 0, window.size() - held);
    }
    line.append(Eol, 0, held);
    return line;
}

} // namespace zorvia
