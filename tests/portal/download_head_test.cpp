#include "net/net_tcp_client.h"
#include "net/stream.h"
#include "portal/game_download.h"

#include "support/script_server.h"

#include <gtest/gtest.h>

using namespace zorvia;
using namespace zorvia::test;

namespace {

TEST(DownloadHead, TakesNoMoreThanItsLimitWithItsCarriageReturns) {
    const std::string head = "HTTP/1.1 200 OK\r\nX: 1\r\n\r\n"; // 25 bytes
    const struct {
        std::size_t maxHead;
        bool accepted;
    } cases[] = {{25, true}, {24, false}, {200, true}};
    for (const auto& c : cases) {
        ScriptServer server({awaitText("\r\n\r\n"), send(head + "body"), close()});
        TNetTCPClient client;
        portal::DownloadLimits limits;
        limits.headMs = 2000;
        limits.idleMs = 2000;
        limits.maxHead = c.maxHead;
        portal::GameTransfer transfer(client, limits, {});
        ASSERT_EQ(transfer.begin("127.0.0.1:" + server.portText(), "games/a.swf"), c.accepted)
            << "limit " << c.maxHead;
        if (!c.accepted)
            continue;
        TMemoryStream body;
        transfer.receiveBody(body);
        EXPECT_EQ(body.DataString(), "body") << "limit " << c.maxHead;
    }
}

} // namespace
