#include "net/tcp_client.h"

#include "support/script_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorvia {
namespace {

using namespace std::string_literals;
using test::ScriptServer;

// A client connected to the server, recording every error code it reports.
struct Client {
    std::vector<int> errors;
    TTcpClient socket;

    explicit Client(const ScriptServer& server) : Client(server.portText()) {}
    explicit Client(const std::string& port, const std::string& host = "127.0.0.1") {
        socket.OnError = [this](TBaseSocket&, int code) { errors.push_back(code); };
        socket.SetReadTimeout(5000);
        socket.SetRemoteHost(host);
        socket.SetRemotePort(port);
        socket.SetActive(true);
    }

    // Everything still queued, up to the server's close.
    std::string rest() {
        std::string bytes;
        char buf[256];
        for (int n; (n = socket.ReceiveBuffer(buf, sizeof buf)) > 0;)
            bytes.append(buf, std::size_t(n));
        return bytes;
    }
};

struct LineCase {
    const char* name;
    std::vector<test::Step> script;
    std::string eol;
    std::vector<std::string> lines; // expected ReceiveLine results, in order
    std::string rest;               // bytes left on the connection after them
};

class ReceiveLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ReceiveLineTest, TakesExactlyTheBytesOfEachLine) {
    const LineCase& c = GetParam();
    std::vector<test::Step> script = c.script;
    script.push_back(test::awaitText("go"));
    ScriptServer server(script);
    Client client(server);
    ASSERT_TRUE(client.socket.Connected());
    for (const std::string& expected : c.lines)
        EXPECT_EQ(client.socket.ReceiveLine(c.eol), expected);
    client.socket.SendLine("go");
    EXPECT_EQ(client.rest(), c.rest);
    EXPECT_TRUE(client.errors.empty());
}

const std::string kLong510(510, 'a');
const std::string kLong1200(1200, 'b');

INSTANTIATE_TEST_SUITE_P(
    Lines, ReceiveLineTest,
    testing::Values(
        LineCase{"Head",
                 {test::send("HTTP/1.1 200 OK\r\nServer: x\r\n\r\nbody")},
                 "\r\n",
                 {"HTTP/1.1 200 OK", "Server: x", ""},
                 "body"},
        LineCase{"EolAtFrontIsEmptyLine", {test::send("\r\nnext")}, "\r\n", {""}, "next"},
        LineCase{"CrInsideLineStays", {test::send("a\rb\r\nc")}, "\r\n", {"a\rb"}, "c"},
        LineCase{"CrBeforeEol", {test::send("x\r\r\ny")}, "\r\n", {"x\r"}, "y"},
        LineCase{"EolSplitAcrossPackets",
                 {test::send("abc\r"), test::pause(100), test::send("\nnext\r\nz")},
                 "\r\n",
                 {"abc", "next"},
                 "z"},
        LineCase{"CrThenOtherPacketWithoutLf",
                 {test::send("a\r"), test::pause(100), test::send("b\r\nz")},
                 "\r\n",
                 {"a\rb"},
                 "z"},
        LineCase{"EolSplitAtWindowEdge",
                 {test::send(kLong510 + "\r\nnext\r\n")},
                 "\r\n",
                 {kLong510, "next"},
                 ""},
        LineCase{
            "LineLongerThanWindows", {test::send(kLong1200 + "\r\nz")}, "\r\n", {kLong1200}, "z"},
        LineCase{
            "ZeroBytesAreData", {test::send("a\0b\r\nc\0\r\nd"s)}, "\r\n", {"a\0b"s, "c\0"s}, "d"},
        LineCase{"MultiByteEolAcrossPackets",
                 {test::send("one<e"), test::pause(100), test::send("ol>two<eol>3")},
                 "<eol>",
                 {"one", "two"},
                 "3"},
        LineCase{"EmptyEolReadsNothing", {test::send("abc")}, "", {""}, "abc"}),
    [](const auto& info) { return std::string(info.param.name); });

struct CloseCase {
    const char* name;
    std::string sent;
    std::vector<std::string> lines;
};

class ReceiveLineCloseTest : public testing::TestWithParam<CloseCase> {};

TEST_P(ReceiveLineCloseTest, ReturnsWhatArrivedThenEmptyText) {
    const CloseCase& c = GetParam();
    ScriptServer server({test::send(c.sent), test::close()});
    Client client(server);
    for (const std::string& expected : c.lines)
        EXPECT_EQ(client.socket.ReceiveLine(), expected);
    EXPECT_EQ(client.socket.ReceiveLine(), "");
    EXPECT_EQ(client.socket.ReceiveLine(), "");
    EXPECT_FALSE(client.socket.WaitForData(0));
    EXPECT_EQ(client.socket.BytesReceived(), std::int64_t(c.sent.size()));
}

INSTANTIATE_TEST_SUITE_P(Close, ReceiveLineCloseTest,
                         testing::Values(CloseCase{"MidLine", "partial", {"partial"}},
                                         CloseCase{"AfterHalfEol", "abc\r", {"abc\r"}},
                                         CloseCase{"AfterLines", "a\r\nb\r\n", {"a", "b"}},
                                         CloseCase{"Nothing", "", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TcpClientTest, WaitForDataSeesOnlyWhatHasArrived) {
    ScriptServer server({test::send("HTTP/1.1 200 OK\r\n\r\n"), test::awaitText("more"),
                         test::send("body"), test::close()});
    Client client(server);
    EXPECT_EQ(client.socket.ReceiveLine(), "HTTP/1.1 200 OK");
    EXPECT_EQ(client.socket.ReceiveLine(), "");
    EXPECT_FALSE(client.socket.WaitForData(0)); // body not sent yet
    client.socket.SendLine("more");
    EXPECT_TRUE(client.socket.WaitForData(5000));
    EXPECT_EQ(client.socket.ReceiveLine(), "body");
    EXPECT_FALSE(client.socket.WaitForData(0)); // closed and everything read
    EXPECT_FALSE(client.socket.WaitForData(1000));
}

TEST(TcpClientTest, PeerHalfCloseStillTakesTheRequest) {
    ScriptServer server({test::send("a\r\nb"), test::shutdownWrite(), test::awaitText("\r\n")});
    Client client(server);
    EXPECT_EQ(client.socket.ReceiveLine(), "a");
    EXPECT_EQ(client.socket.ReceiveLine(), "b");
    EXPECT_EQ(client.socket.ReceiveLine(), "");
    EXPECT_TRUE(client.socket.Connected());
    EXPECT_EQ(client.socket.SendLine("thanks"), 8);
    EXPECT_EQ(server.received(), "thanks\r\n");
}

TEST(TcpClientTest, SendLineSendsTextAndEol) {
    ScriptServer server({test::awaitText("\r\n\r\n")});
    Client client(server);
    EXPECT_EQ(client.socket.SendLine("GET /mini.php?action=catlist HTTP/1.1"), 39);
    EXPECT_EQ(client.socket.SendLine(""), 2);
    EXPECT_EQ(client.socket.BytesSent(), 41);
    client.socket.Close();
    EXPECT_EQ(server.received(), "GET /mini.php?action=catlist HTTP/1.1\r\n\r\n");
}

struct EndPointCase {
    const char* name;
    bool changeHost;
    std::string value; // empty: keep the current text
    bool staysConnected;
};

class EndPointChangeTest : public testing::TestWithParam<EndPointCase> {};

TEST_P(EndPointChangeTest, OnlyADifferentTextCloses) {
    const EndPointCase& c = GetParam();
    ScriptServer server({test::awaitClose()});
    Client client(server);
    ASSERT_TRUE(client.socket.Connected());
    const std::string value =
        !c.value.empty() ? c.value
                         : (c.changeHost ? client.socket.RemoteHost() : client.socket.RemotePort());
    if (c.changeHost)
        client.socket.SetRemoteHost(value);
    else
        client.socket.SetRemotePort(value);
    EXPECT_EQ(client.socket.Connected(), c.staysConnected);
    EXPECT_EQ(client.socket.Active(), c.staysConnected);
    if (!c.staysConnected) {
        server.received();
        EXPECT_TRUE(server.sawClientClose());
    }
}

INSTANTIATE_TEST_SUITE_P(Change, EndPointChangeTest,
                         testing::Values(EndPointCase{"SameHost", true, "", true},
                                         EndPointCase{"OtherHost", true, "localhost", false},
                                         EndPointCase{"HostCaseDiffers", true, "LOCALHOST", false},
                                         EndPointCase{"SamePort", false, "", true},
                                         EndPointCase{"OtherPort", false, "81", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailedConnectCase {
    const char* name;
    std::string host;
    bool refusedPort; // otherwise port "80"
    int error;
};

class FailedConnectTest : public testing::TestWithParam<FailedConnectCase> {};

TEST_P(FailedConnectTest, StaysActiveButNotConnected) {
    const FailedConnectCase& c = GetParam();
    const std::string port = c.refusedPort ? std::to_string(test::unusedPort()) : "80";
    Client client(port, c.host);
    EXPECT_TRUE(client.socket.Active());
    EXPECT_FALSE(client.socket.Connected());
    ASSERT_FALSE(client.errors.empty());
    EXPECT_EQ(client.errors.back(), c.error);
    // Reads fail at once instead of waiting.
    EXPECT_EQ(client.socket.ReceiveLine(), "");
    EXPECT_FALSE(client.socket.WaitForData(0));
    EXPECT_EQ(client.socket.SendLine("x"), -1);
    // Active := true again does not reconnect.
    const std::size_t reported = client.errors.size();
    client.socket.SetActive(true);
    EXPECT_FALSE(client.socket.Connected());
    EXPECT_EQ(client.errors.size(), reported);
}

INSTANTIATE_TEST_SUITE_P(
    Connect, FailedConnectTest,
    testing::Values(FailedConnectCase{"Refused", "127.0.0.1", true, 10061},
                    FailedConnectCase{"UnknownHost", "no-such-host.invalid", false, 11001},
                    FailedConnectCase{"DigitsButNoAddress", "1abc", false, 11001},
                    FailedConnectCase{"EmptyHostIsNoPeer", "", false, 10049}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TcpClientTest, ConnectTimeLimit) {
    test::StalledListener stalled;
    TTcpClient socket;
    int error = 0;
    socket.OnError = [&](TBaseSocket&, int code) { error = code; };
    socket.SetConnectTimeout(200);
    socket.SetRemoteHost("127.0.0.1");
    socket.SetRemotePort(std::to_string(stalled.port()));
    socket.SetActive(true);
    EXPECT_FALSE(socket.Connected());
    EXPECT_EQ(error, 10060);
}

TEST(TcpClientTest, ReadTimeLimitEndsTheLine) {
    ScriptServer server({test::send("part"), test::hold()});
    Client client(server);
    // "part" is on its way before the read starts, and nothing follows it.
    ASSERT_TRUE(test::waitForHold(server));
    client.socket.SetReadTimeout(100);
    EXPECT_EQ(client.socket.ReceiveLine(), "part");
    EXPECT_EQ(client.errors, std::vector<int>{10060});
    EXPECT_EQ(client.socket.ReceiveLine(), "");
}

TEST(TcpClientTest, ResetEndsTheLine) {
    ScriptServer server({test::send("a\r\n"), test::awaitText("ok"), test::reset()});
    Client client(server);
    EXPECT_EQ(client.socket.ReceiveLine(), "a");
    client.socket.SendLine("ok");
    EXPECT_EQ(client.socket.ReceiveLine(), "");
    EXPECT_EQ(client.errors, std::vector<int>{10054});
}

TEST(TcpClientTest, LifecycleHooksAndFreshSocketPerOpen) {
    ScriptServer server({test::awaitClose()}, 2);
    TTcpClient socket;
    std::vector<std::string> events;
    socket.OnCreateHandle = [&](TBaseSocket&) { events.push_back("create"); };
    socket.OnConnect = [&](TBaseSocket&) { events.push_back("connect"); };
    socket.OnDisconnect = [&](TBaseSocket&) { events.push_back("disconnect"); };
    socket.OnDestroyHandle = [&](TBaseSocket&) { events.push_back("destroy"); };
    socket.SetRemoteHost("127.0.0.1");
    socket.SetRemotePort(server.portText());
    for (int round = 0; round < 2; ++round) {
        socket.SetActive(true);
        EXPECT_TRUE(socket.Connected());
        socket.SetActive(false);
        EXPECT_FALSE(socket.Active());
        EXPECT_EQ(socket.Socket(), -1);
        socket.Close(); // nothing left to close
    }
    server.received();
    EXPECT_EQ(server.accepted(), 2);
    const std::vector<std::string> once{"create", "connect", "disconnect", "destroy"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(events, twice);
}

TEST(TcpClientTest, DataHooksMayChangeTheLength) {
    ScriptServer server({test::awaitText("abc"), test::send("xyz")});
    Client client(server);
    std::string seenByHook;
    client.socket.OnSend = [](TBaseSocket&, const void*, int& len) { len = 3; };
    client.socket.OnReceive = [&](TBaseSocket&, const void* buf, int& len) {
        seenByHook.assign(static_cast<const char*>(buf), std::size_t(len));
        len = 100; // kept within the buffer
    };
    EXPECT_EQ(client.socket.SendBuffer("abcdef", 6), 3);
    char buf[8];
    EXPECT_EQ(client.socket.ReceiveBuffer(buf, 3), 3);
    EXPECT_EQ(seenByHook, "xyz");
    EXPECT_EQ(client.socket.BytesSent(), 3);
    client.socket.Close();
    EXPECT_EQ(server.received(), "abc");
}

struct LookupCase {
    std::string host;
    std::string address;
};

TEST(TcpClientTest, LookupHostAddress) {
    const TTcpClient socket;
    for (const LookupCase& c : std::vector<LookupCase>{{"", "0.0.0.0"},
                                                       {"127.0.0.1", "127.0.0.1"},
                                                       {"10.1.2", "10.1.2"},
                                                       {"1abc", ""},
                                                       {"localhost", "127.0.0.1"},
                                                       {"no-such-host.invalid", ""}})
        EXPECT_EQ(socket.LookupHostAddress(c.host), c.address) << c.host;
}

TEST(TcpClientTest, LookupPort) {
    const TTcpClient socket;
    EXPECT_EQ(socket.LookupPort(""), 0);
    EXPECT_EQ(socket.LookupPort("80"), 80);
    EXPECT_EQ(socket.LookupPort("http"), 80);
    EXPECT_EQ(socket.LookupPort("8080"), 8080);
    for (const std::string bad : {"8o", "80 ", "no-such-service", "99999999999"}) {
        try {
            socket.LookupPort(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + bad + "' is not a valid integer value");
        }
    }
}

} // namespace
} // namespace zorvia
