#include "net/tcp_client.h"
#include "portal/portal_request.h"
#include "text/codepage.h"

#include "support/script_server.h"

#include <gtest/gtest.h>

using namespace zorvia;
using namespace zorvia::portal;
using namespace zorvia::test;

namespace {

const std::string kHead = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";

std::string host(const ScriptServer& server) {
    return "127.0.0.1:" + server.portText();
}

RequestLimits quick() {
    RequestLimits limits;
    limits.connectMs = 2000;
    limits.readMs = 2000;
    limits.totalMs = 5000;
    return limits;
}

TEST(PortalRequest, RequestBytes) {
    struct Case {
        std::string cookie;
        std::string cookieLine;
    };
    const Case cases[] = {{"", ""}, {"sid=abc; user=demo", "Cookie: sid=abc; user=demo\r\n"}};
    for (const auto& c : cases) {
        ScriptServer server({awaitText("\r\n\r\n"), send(kHead + "ok")});
        TTcpClient socket;
        const auto reply = queryPortal(socket, host(server), c.cookie, "action=catlist", quick());
        EXPECT_EQ(reply.text, "ok");
        EXPECT_TRUE(reply.reached);
        const std::string want = "GET /mini.php?action=catlist HTTP/1.1\r\n"
                                 "Host: " +
                                 host(server) +
                                 "\r\n"
                                 "Accept: */*\r\n"
                                 "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98\r\n"
                                 "Pragma: no-cache\r\n"
                                 "Cache-Control: no-cache\r\n"
                                 "Connection: Close\r\n" +
                                 c.cookieLine + "\r\n";
        EXPECT_EQ(server.received(), want);
    }
}

TEST(PortalRequest, TwoCallsOpenTwoConnections) {
    ScriptServer server({awaitText("\r\n\r\n"), send(kHead + "1|A|")}, 2);
    TTcpClient socket;
    EXPECT_EQ(queryPortal(socket, host(server), "", "action=catlist", quick()).text, "1|A|");
    EXPECT_EQ(queryPortal(socket, host(server), "", "action=catlist", quick()).text, "1|A|");
    server.received();
    EXPECT_EQ(server.accepted(), 2);
}

TEST(PortalRequest, Replies) {
    const std::string cat = text::utf8ToAnsi("休闲");
    struct Case {
        const char* what;
        std::vector<Step> script;
        AnsiString want;
    };
    const Case cases[] = {
        {"lines joined", {awaitText("\r\n\r\n"), send(kHead + "a\r\nb\r\n")}, "ab"},
        {"last line without CR LF", {awaitText("\r\n\r\n"), send(kHead + "a\r\nb")}, "ab"},
        {"body after a pause",
         {awaitText("\r\n\r\n"), send(kHead), pause(300), send("1|A|"), pause(300), send("2|B|")},
         "1|A|2|B|"},
        {"chunked body",
         {awaitText("\r\n\r\n"),
          send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
               "4\r\n1|A|\r\n"),
          pause(100), send("4\r\n2|B|\r\n0\r\n\r\n")},
         "1|A|2|B|"},
        {"UTF-8 decoded",
         {awaitText("\r\n\r\n"), send(kHead + "3|\xE4\xBC\x91\xE9\x97\xB2|")},
         "3|" + cat + "|"},
        {"malformed UTF-8", {awaitText("\r\n\r\n"), send(kHead + "1|\xE4\x41|")}, ""},
        {"error status with a body",
         {awaitText("\r\n\r\n"), send("HTTP/1.1 404 Not Found\r\n\r\nNOID")},
         "NOID"},
        {"empty body", {awaitText("\r\n\r\n"), send(kHead)}, ""},
        {"closed inside the head", {awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\nX-A: 1")}, ""},
    };
    for (const auto& c : cases) {
        ScriptServer server(c.script);
        TTcpClient socket;
        EXPECT_EQ(queryPortal(socket, host(server), "", "action=catlist", quick()).text, c.want)
            << c.what;
    }
}

TEST(PortalRequest, UnreachablePortalIsToldApartFromAnEmptyReply) {
    TTcpClient socket;
    const auto refused = queryPortal(socket, "127.0.0.1:" + std::to_string(unusedPort()), "",
                                     "action=favlist", quick());
    EXPECT_EQ(refused.text, "");
    EXPECT_FALSE(refused.reached);

    const auto unknown = queryPortal(socket, "no-such-host.invalid", "", "action=favlist", quick());
    EXPECT_EQ(unknown.text, "");
    EXPECT_FALSE(unknown.reached);

    ScriptServer silent({awaitText("\r\n\r\n"), close()});
    const auto noHead = queryPortal(socket, host(silent), "", "action=favlist", quick());
    EXPECT_FALSE(noHead.reached);

    ScriptServer empty({awaitText("\r\n\r\n"), send(kHead)});
    const auto answered = queryPortal(socket, host(empty), "", "action=favlist", quick());
    EXPECT_EQ(answered.text, "");
    EXPECT_TRUE(answered.reached);
}

TEST(PortalRequest, StalledPortalEndsWithinTheReadLimit) {
    // The portal sends part of its reply, stalls past the read limit, then
    // sends the rest: a client that waited on, to its far total limit, would
    // take the rest as well.
    ScriptServer server({awaitText("\r\n\r\n"), send(kHead + "1|A|"), pause(3000), send("2|B|")});
    RequestLimits limits = quick();
    limits.readMs = 300;
    limits.totalMs = 60000;
    TTcpClient socket;
    const auto reply = queryPortal(socket, host(server), "", "action=catlist", limits);
    EXPECT_EQ(reply.text, "1|A|");
    EXPECT_TRUE(reply.reached);
}

TEST(PortalRequest, ABodyOverItsLimitIsRefusedWhole) {
    RequestLimits limits = quick();
    limits.maxBody = 64;
    const std::string fits(64, 'a');
    const struct {
        const char* what;
        std::string body;
        AnsiString want;
    } cases[] = {
        {"at the limit", fits, fits},
        {"one byte over", fits + "b", ""},
        {"far over", std::string(1 << 20, 'c'), ""},
    };
    for (const auto& c : cases) {
        ScriptServer server({awaitText("\r\n\r\n"), send(kHead + c.body)});
        TTcpClient socket;
        const auto reply = queryPortal(socket, host(server), "", "action=catlist", limits);
        EXPECT_EQ(reply.text, c.want) << c.what;
        EXPECT_EQ(reply.reached, !c.want.empty()) << c.what;
    }
}

TEST(PortalRequest, AQueryWithAControlCharacterSendsNothing) {
    for (const char* query : {"favadd=7\r\nX-Evil: 1", "favadd=7\n", "favdel=\x01"}) {
        ScriptServer server({awaitText("\r\n\r\n"), send(kHead + "ok")});
        TTcpClient socket;
        const auto reply = queryPortal(socket, host(server), "sid=1", query, quick());
        EXPECT_FALSE(reply.reached) << query;
        EXPECT_EQ(server.accepted(), 0) << query;
    }
}

TEST(PortalRequest, AHeadOutsideItsLimitsIsAFailedExchange) {
    // Each head ends, and a reply follows it, once its limit has passed: a
    // client without the limit would take that reply.
    const std::string end = "\r\n\r\n1|A|";
    std::vector<Step> trickle = {awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\nX-A: ")};
    for (int i = 0; i < 30; ++i) {
        trickle.push_back(send("7|x|"));
        trickle.push_back(pause(200));
    }
    trickle.push_back(send(end));
    RequestLimits shortTotal = quick();
    shortTotal.totalMs = 1500;
    RequestLimits defaults;
    const struct {
        const char* what;
        std::vector<Step> script;
        RequestLimits limits;
    } cases[] = {
        {"trickling head", trickle, shortTotal},
        {"endless header line",
         {awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\nX-A: " + std::string(1 << 20, 'a')),
          send(end)},
         quick()},
        {"endless head of short lines",
         {awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\n"), send([] {
              std::string lines;
              while (lines.size() < (1 << 20))
                  lines += "X-A: 7|x|\r\n";
              return lines;
          }()),
          send(end)},
         quick()},
        {"12 s pause inside the head",
         {awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\nX-A: 7|x|"), pause(12000),
          send("\r\n\r\n1|A|")},
         defaults},
    };
    for (const auto& c : cases) {
        ScriptServer server(c.script);
        TTcpClient socket;
        const auto reply = queryPortal(socket, host(server), "", "action=catlist", c.limits);
        EXPECT_EQ(reply.text, "") << c.what;
        EXPECT_FALSE(reply.reached) << c.what;
    }
}

} // namespace
