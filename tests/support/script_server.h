#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zorvia::test {

// One step of a scripted peer.
struct Step {
    enum class Kind {
        Send,          // send the bytes
        Pause,         // sleep
        AwaitText,     // wait until the client has sent text containing `data`
        ShutdownWrite, // half-close: no more bytes from the server
        Reset,         // abort the connection (RST)
        Close,         // close gracefully
        AwaitClose,    // read until the client closes
        Hold,          // stay until the test releases the server or the client closes
    };
    Kind kind;
    std::string data;
    int ms = 0;
};

Step send(std::string bytes);
Step pause(int ms);
Step awaitText(std::string text);
Step shutdownWrite();
Step reset();
Step close();
Step awaitClose();
Step hold();

// A server on 127.0.0.1 that accepts connections and plays the same script
// on each, one after the other. Every wait is bounded, and a pause or hold
// ends early when the server is destroyed; a script that runs to its end
// closes the connection gracefully.
class ScriptServer {
public:
    // `acceptWaitMs`: how long each connection is waited for.
    explicit ScriptServer(std::vector<Step> script, int connections = 1, int acceptWaitMs = 5000);
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    std::uint16_t port() const { return port_; }
    std::string portText() const { return std::to_string(port_); }

    // Waits (bounded) until the scripts have run, then returns what the
    // clients sent.
    std::string received();
    // Whether a client closed its side while a step read from it.
    bool sawClientClose() const { return sawClose_; }
    int accepted() const { return accepted_; }
    // How many hold steps the server has reached: everything before the
    // last of them has been sent.
    int holdsReached() const { return holds_; }
    // Lets the server go on from the hold step it is at (or reaches next).
    void release() { ++releases_; }

private:
    void run(int connections, int acceptWaitMs);
    void play(int fd);
    void drain(int fd, int waitMs);

    std::vector<Step> script_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::mutex mutex_;
    std::string received_;
    std::atomic<bool> sawClose_{false};
    std::atomic<int> accepted_{0};
    std::atomic<int> holds_{0};
    std::atomic<int> releases_{0};
    std::atomic<bool> done_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Blocks until the server has reached `count` hold steps, at most `ms`.
bool waitForHold(const ScriptServer& server, int count = 1, int ms = 20000);

// A port on 127.0.0.1 where nothing listens.
std::uint16_t unusedPort();

// A listener whose queue of pending connections is full, so a further
// connect to it neither succeeds nor fails until it gives up.
class StalledListener {
public:
    StalledListener();
    ~StalledListener();
    StalledListener(const StalledListener&) = delete;
    StalledListener& operator=(const StalledListener&) = delete;
    std::uint16_t port() const { return port_; }

private:
    int listener_ = -1;
    std::vector<int> fillers_;
    std::uint16_t port_ = 0;
};

} // namespace zorvia::test
