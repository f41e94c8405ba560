#include "net/net_exceptions.h"
#include "net/net_tcp_client.h"

#include "support/script_server.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zorvia {
namespace {

using namespace std::string_literals;
using test::ScriptServer;

// A client connected to the server with a generous read limit, so a fault
// fails the test instead of hanging it.
struct Client {
    TNetTCPClient tcp;
    explicit Client(const ScriptServer& server, int readTimeout = 5000) {
        tcp.SetHost("127.0.0.1");
        tcp.SetPort(server.port());
        tcp.SetReadTimeout(readTimeout);
        tcp.Connect();
    }
};

// The message of the ENetException `action` raises, or "(none)".
std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ENetException& e) {
        return e.what();
    }
    return "(none)";
}

struct ReadLineCase {
    const char* name;
    std::vector<test::Step> script;
    std::string terminator;
    std::vector<std::string> lines;
};

class ReadLineTest : public testing::TestWithParam<ReadLineCase> {};

TEST_P(ReadLineTest, Lines) {
    const ReadLineCase& c = GetParam();
    ScriptServer server(c.script);
    Client client(server);
    for (const std::string& expected : c.lines)
        EXPECT_EQ(client.tcp.ReadLine(c.terminator), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadLineTest,
    testing::Values(
        ReadLineCase{"StatusAndHead",
                     {test::send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc")},
                     "\n",
                     {"HTTP/1.1 200 OK", "Content-Length: 3", ""}},
        ReadLineCase{"BareLf", {test::send("abc\ndef\n")}, "\n", {"abc", "def"}},
        ReadLineCase{"CrElsewhereStays", {test::send("a\rb\r\n\r\r\n")}, "\n", {"a\rb", "\r"}},
        ReadLineCase{"EmptyTerminatorIsLf", {test::send("x\r\ny\n")}, "", {"x", "y"}},
        ReadLineCase{"OtherTerminatorKeepsCr", {test::send("x\r||y||")}, "||", {"x\r", "y"}},
        ReadLineCase{"TerminatorAcrossPackets",
                     {test::send("ab<e"), test::pause(100), test::send("ol>cd<eol>")},
                     "<eol>",
                     {"ab", "cd"}},
        ReadLineCase{"LineAcrossPackets",
                     {test::send("HTTP/1.1 2"), test::pause(100), test::send("00 OK\r"),
                      test::pause(100), test::send("\n")},
                     "\n",
                     {"HTTP/1.1 200 OK"}},
        ReadLineCase{"ZeroBytesAreData", {test::send("a\0b\nc\n"s)}, "\n", {"a\0b"s, "c"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MaxLineCase {
    const char* name;
    std::string sent;
    bool exceeds;
};

class MaxLineLengthTest : public testing::TestWithParam<MaxLineCase> {};

TEST_P(MaxLineLengthTest, DefaultLimit) {
    const MaxLineCase& c = GetParam();
    ScriptServer server({test::send(c.sent), test::awaitClose()});
    Client client(server);
    if (c.exceeds) {
        EXPECT_EQ(messageOf([&] { client.tcp.ReadLine(); }), "Max line length exceeded.");
    } else {
        const std::string line = client.tcp.ReadLine();
        const std::size_t end = c.sent.find_first_of("\r\n");
        EXPECT_EQ(line.size(), end);
        EXPECT_TRUE(line == c.sent.substr(0, end));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limit, MaxLineLengthTest,
    testing::Values(MaxLineCase{"Exactly16384", std::string(16384, 'x') + "\n", false},
                    MaxLineCase{"Lf16385", std::string(16385, 'x') + "\n", true},
                    MaxLineCase{"CrCounts", std::string(16384, 'x') + "\r\n", true},
                    MaxLineCase{"CrWithin16384", std::string(16383, 'x') + "\r\n", false},
                    MaxLineCase{"NoTerminatorYet", std::string(16385, 'x'), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NetTcpClientTest, SplitActionCutsOverLongLines) {
    ScriptServer server({test::send("abcdefgh\nxy\n")});
    Client client(server);
    client.tcp.SetMaxLineAction(TNetMaxLineAction::maSplit);
    EXPECT_EQ(client.tcp.ReadLine("\n", -1, 3), "abc");
    EXPECT_TRUE(client.tcp.ReadLnSplit());
    EXPECT_EQ(client.tcp.ReadLine("\n", -1, 3), "def");
    EXPECT_EQ(client.tcp.ReadLine("\n", -1, 3), "gh");
    EXPECT_FALSE(client.tcp.ReadLnSplit());
    EXPECT_EQ(client.tcp.ReadLine("\n", -1, 0), "xy");
}

TEST(NetTcpClientTest, CloseInTheMiddleOfALine) {
    ScriptServer server({test::send("HTTP/1.1 200 OK\r\nContent-Le"), test::close()});
    Client client(server);
    EXPECT_EQ(client.tcp.ReadLine(), "HTTP/1.1 200 OK");
    EXPECT_EQ(client.tcp.ReadLine(), "");
    EXPECT_TRUE(client.tcp.ReadLnTimedOut());
    EXPECT_EQ(client.tcp.InputQueueSize(), 10u); // the partial line stays queued
    EXPECT_FALSE(client.tcp.Connected());
    EXPECT_EQ(messageOf([&] { client.tcp.ReadLine(); }), "Connection Closed Gracefully.");
}

TEST(NetTcpClientTest, CloseWithNothingQueuedRaisesAtOnce) {
    ScriptServer server({test::send("A\n"), test::close()});
    Client client(server);
    EXPECT_EQ(client.tcp.ReadLine(), "A");
    EXPECT_EQ(messageOf([&] { client.tcp.ReadLine(); }), "Connection Closed Gracefully.");
    EXPECT_EQ(messageOf([&] { client.tcp.WriteLine("x"); }), "Connection Closed Gracefully.");
}

TEST(NetTcpClientTest, ConnectedStaysTrueUntilAReadSeesTheClose) {
    ScriptServer server({test::send("1234"), test::close()});
    Client client(server);
    server.received(); // the server has closed
    EXPECT_TRUE(client.tcp.Connected());
    EXPECT_TRUE(client.tcp.Connected());
    TMemoryStream stream;
    client.tcp.ReadStream(stream, -1, true);
    EXPECT_EQ(stream.DataString(), "1234");
    EXPECT_FALSE(client.tcp.Connected());
}

TEST(NetTcpClientTest, QueuedBodyBytesComeFirst) {
    const std::string body = "\x00\x01swf body"s + std::string(70000, 'z') + "end";
    ScriptServer server({test::send("HTTP/1.1 200 OK\r\n\r\n" + body.substr(0, 10)),
                         test::pause(50), test::send(body.substr(10)), test::close()});
    Client client(server);
    EXPECT_EQ(client.tcp.ReadLine(), "HTTP/1.1 200 OK");
    EXPECT_EQ(client.tcp.ReadLine(), "");
    TMemoryStream stream;
    client.tcp.ReadStream(stream, -1, true);
    EXPECT_EQ(stream.DataString(), body);
    EXPECT_FALSE(client.tcp.Connected());
}

TEST(NetTcpClientTest, CountedBlocksThenRest) {
    std::string body;
    for (int i = 0; i < 1234; ++i)
        body += char('a' + i % 26);
    ScriptServer server({test::send(body.substr(0, 300)), test::pause(50),
                         test::send(body.substr(300)), test::close()});
    Client client(server);
    TMemoryStream stream;
    std::int64_t worked = 0;
    client.tcp.OnWork = [&](TNetTCPConnection&, TWorkMode, std::int64_t n) { worked += n; };
    int blocks = 0;
    for (int counter = 256; client.tcp.Connected(); counter += 256, ++blocks) {
        if (counter < 1234)
            client.tcp.ReadStream(stream, 256, false);
        else
            client.tcp.ReadStream(stream, -1, true);
        ASSERT_LT(blocks, 10);
    }
    EXPECT_EQ(blocks, 5);
    EXPECT_EQ(stream.DataString(), body);
    EXPECT_EQ(stream.Size(), stream.Position());
    EXPECT_EQ(worked, 1234);
}

TEST(NetTcpClientTest, CountedReadCutShortByClose) {
    const std::string tail(100, 't');
    ScriptServer server(
        {test::send(std::string(256, 'h')), test::pause(50), test::send(tail), test::close()});
    Client client(server);
    TMemoryStream stream;
    client.tcp.ReadStream(stream, 256, false);
    EXPECT_EQ(messageOf([&] { client.tcp.ReadStream(stream, 256, false); }),
              "Connection Closed Gracefully.");
    // The bytes that did arrive are kept; the pre-sized rest is cut back.
    EXPECT_EQ(stream.Size(), 356);
    EXPECT_EQ(stream.Position(), 356);
    EXPECT_EQ(stream.DataString(), std::string(256, 'h') + tail);
    EXPECT_FALSE(client.tcp.Connected());
}

TEST(NetTcpClientTest, LengthPrefixedStream) {
    ScriptServer server({test::send("\0\0\0\x05hello+"s)});
    Client client(server);
    TMemoryStream stream;
    client.tcp.ReadStream(stream);
    EXPECT_EQ(stream.DataString(), "hello");
}

TEST(NetTcpClientTest, ReadTimeouts) {
    ScriptServer server({test::send("partial"), test::hold()});
    Client client(server, 100);
    // "partial" is on its way before the reads start, and nothing follows it.
    ASSERT_TRUE(test::waitForHold(server));
    // With the default timeout a silent peer raises ...
    EXPECT_EQ(messageOf([&] { client.tcp.ReadLine(); }), "Read Timeout");
    // ... an explicit one ends the line empty and keeps the bytes queued.
    EXPECT_EQ(client.tcp.ReadLine("\n", 50), "");
    EXPECT_TRUE(client.tcp.ReadLnTimedOut());
    EXPECT_EQ(client.tcp.InputQueueSize(), 7u);
    char buf[8];
    EXPECT_EQ(messageOf([&] { client.tcp.ReadExact(buf, 8); }), "Read Timeout");
    EXPECT_TRUE(client.tcp.Connected());
}

TEST(NetTcpClientTest, ResetRaisesSocketError) {
    ScriptServer server({test::send("a\n"), test::awaitText("ok"), test::reset()});
    Client client(server);
    EXPECT_EQ(client.tcp.ReadLine(), "a");
    client.tcp.WriteLine("ok");
    try {
        client.tcp.ReadLine();
        ADD_FAILURE() << "no error";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.LastError(), 10054);
        EXPECT_STREQ(e.what(), "Socket Error # 10054\r\nConnection reset by peer.");
    }
}

TEST(NetTcpClientTest, WritingToAResetPeerRaisesInsteadOfKilling) {
    ScriptServer server({test::awaitText("x"), test::reset()});
    Client client(server);
    client.tcp.WriteLine("x");
    server.received();
    int code = 0;
    for (int i = 0; i < 100 && code == 0; ++i) {
        try {
            client.tcp.WriteLine(std::string(1000, 'y'));
        } catch (const ENetSocketError& e) {
            code = e.LastError();
        } catch (const ENetConnClosedGracefully&) {
            code = -1;
        }
    }
    EXPECT_TRUE(code == 10054 || code == 10058) << code;
}

TEST(NetTcpClientTest, WriteLineSendsTextAndCrLf) {
    ScriptServer server({test::awaitText("\r\n\r\n")});
    Client client(server);
    std::int64_t sent = 0;
    client.tcp.OnWork = [&](TNetTCPConnection&, TWorkMode mode, std::int64_t n) {
        if (mode == TWorkMode::wmWrite)
            sent += n;
    };
    client.tcp.SetSendBufferSize(4);
    client.tcp.WriteLine("GET /games/abc.swf HTTP/1.1");
    client.tcp.WriteLine("");
    EXPECT_EQ(sent, 31);
    EXPECT_EQ(server.received(), "GET /games/abc.swf HTTP/1.1\r\n\r\n");
}

TEST(NetTcpClientTest, AsciiFilterClearsHighBit) {
    ScriptServer server({test::send("\xC1\xE2\n")});
    Client client(server);
    client.tcp.SetASCIIFilter(true);
    EXPECT_EQ(client.tcp.ReadLine(), "Ab");
}

struct ConnectFailCase {
    const char* name;
    std::string host;
    bool unusedPort; // otherwise port 0
    std::string message;
};

class ConnectFailTest : public testing::TestWithParam<ConnectFailCase> {};

TEST_P(ConnectFailTest, Message) {
    const ConnectFailCase& c = GetParam();
    TNetTCPClient tcp;
    tcp.SetHost(c.host);
    tcp.SetPort(c.unusedPort ? test::unusedPort() : 0);
    EXPECT_EQ(messageOf([&] { tcp.Connect(-1); }), c.message);
    EXPECT_FALSE(tcp.Connected());
    EXPECT_EQ(messageOf([&] { tcp.WriteLine(""); }), "Connection Closed Gracefully.");
}

INSTANTIATE_TEST_SUITE_P(
    Connect, ConnectFailTest,
    testing::Values(ConnectFailCase{"Refused", "127.0.0.1", true,
                                    "Socket Error # 10061\r\nConnection refused."},
                    ConnectFailCase{"UnknownHost", "no-such-host.invalid", true,
                                    "Socket Error # 11001\r\nHost not found."},
                    ConnectFailCase{"PortZero", "127.0.0.1", false,
                                    "Socket Error # 10049\r\nCannot assign requested address."},
                    ConnectFailCase{"AnyAddress", "0.0.0.0", true,
                                    "Socket Error # 10049\r\nCannot assign requested address."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NetTcpClientTest, ConnectTimeLimit) {
    test::StalledListener stalled;
    TNetTCPClient tcp;
    tcp.SetHost("127.0.0.1");
    tcp.SetPort(stalled.port());
    EXPECT_EQ(messageOf([&] { tcp.Connect(200); }), "Connect timed out.");
    tcp.SetConnectTimeout(100);
    EXPECT_EQ(messageOf([&] { tcp.Connect(-1); }), "Connect timed out.");
    EXPECT_FALSE(tcp.Connected());
}

// A connect with an idle hook ends as the plain one does, calls the hook
// while the peer keeps it waiting, and stops at once when the hook says so.
TEST(NetTcpClientTest, ConnectWithIdleHook) {
    test::StalledListener stalled;
    ScriptServer server({test::awaitClose()});
    const struct {
        const char* name;
        int port;
        int timeout;
        int stopAt; // the hook's call that returns false; 0 = none
        std::string message;
        int minCalls;
    } cases[] = {
        {"stalled", stalled.port(), 200, 0, "Connect timed out.", 3},
        {"abandoned", stalled.port(), 0, 3, "(none)", 3},
        {"refused", test::unusedPort(), 200, 0, "Socket Error # 10061\r\nConnection refused.", 0},
        {"accepted", server.port(), 200, 0, "(none)", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TNetTCPClient tcp;
        tcp.SetHost("127.0.0.1");
        tcp.SetPort(c.port);
        int calls = 0;
        bool connected = false;
        EXPECT_EQ(messageOf([&] {
                      connected = tcp.Connect(
                          c.timeout, [&] { return ++calls != c.stopAt; }, 10);
                  }),
                  c.message);
        EXPECT_GE(calls, c.minCalls);
        EXPECT_EQ(connected, c.port == server.port());
        if (c.stopAt > 0)
            EXPECT_EQ(calls, c.stopAt);
        else
            EXPECT_EQ(tcp.Connected(), connected);
        tcp.Disconnect();
        EXPECT_FALSE(tcp.Connected());
    }
}

TEST(NetTcpClientTest, NotConnected) {
    TNetTCPClient tcp;
    EXPECT_EQ(messageOf([&] { tcp.WriteLine("x"); }), "Not Connected");
    EXPECT_EQ(messageOf([&] { tcp.ReadLine(); }), "Not Connected");
    EXPECT_FALSE(tcp.Connected());
}

TEST(NetTcpClientTest, StatusTextsAndReconnect) {
    ScriptServer server({test::awaitClose()}, 2);
    TNetTCPClient tcp;
    std::vector<std::string> texts;
    int disconnected = 0;
    tcp.OnStatus = [&](TNetComponent&, TNetStatus, const AnsiString& text) {
        texts.push_back(text);
    };
    tcp.OnDisconnected = [&](TNetTCPConnection&) { ++disconnected; };
    tcp.SetHost("LocalHost");
    tcp.SetPort(server.port());
    tcp.Connect();
    EXPECT_EQ(messageOf([&] { tcp.Connect(); }), "Already connected.");
    tcp.Disconnect();
    EXPECT_FALSE(tcp.Connected());
    EXPECT_EQ(tcp.IOHandler(), nullptr);
    tcp.Connect();
    EXPECT_TRUE(tcp.Connected());
    tcp.Disconnect();
    server.received();
    EXPECT_EQ(server.accepted(), 2);
    const std::vector<std::string> once{"Connecting to 127.0.0.1.", "Connected.", "Disconnecting.",
                                        "Disconnected."};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(texts, twice);
    EXPECT_EQ(disconnected, 2);

    texts.clear();
    tcp.SetHost("no-such-host.invalid");
    EXPECT_NE(messageOf([&] { tcp.Connect(); }), "(none)");
    EXPECT_EQ(texts, std::vector<std::string>{"Resolving hostname no-such-host.invalid."});
}

} // namespace
} // namespace zorvia
