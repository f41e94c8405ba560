#include "portal/site_host.h"

#include "build_config.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace zorvia::portal;

namespace {

TEST(SiteHost, SplitHostPort) {
    struct Case {
        const char* text;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"www.example.test", "www.example.test", 80},
        {"127.0.0.1:8380", "127.0.0.1", 8380},
        {"host:", "host:", 80},
        {"host:0", "host:0", 80},
        {"host:65536", "host:65536", 80},
        {"host:8x", "host:8x", 80},
        {"::1", "::1", 80},
    };
    for (const auto& c : cases) {
        const auto hp = splitHostPort(c.text);
        EXPECT_EQ(hp.host, c.host) << c.text;
        EXPECT_EQ(hp.port, c.port) << c.text;
    }
}

TEST(SiteHost, EnvironmentOverridesBuildDefault) {
    unsetenv("ZORVIA_SITE_HOST");
    EXPECT_EQ(portalHost(), ZORVIA_SITE_HOST_DEFAULT);
    setenv("ZORVIA_SITE_HOST", "portal.test:9000", 1);
    EXPECT_EQ(portalHost(), "portal.test:9000");
    unsetenv("ZORVIA_SITE_HOST");
}

} // namespace
