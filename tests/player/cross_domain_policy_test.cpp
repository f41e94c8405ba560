// Which movies' hosts a host's policy file admits to its data.
#include "player/cross_domain_policy.h"

#include <gtest/gtest.h>

namespace zorvia::player {
namespace {

TEST(CrossDomainPolicyTest, AdmitsTheHostsItNames) {
    const QByteArray wildcard =
        "<?xml version=\"1.0\"?><!DOCTYPE cross-domain-policy SYSTEM "
        "\"http://www.adobe.com/xml/dtds/cross-domain-policy.dtd\">"
        "<cross-domain-policy><allow-access-from domain=\"*.games.example\"/>"
        "<allow-access-from domain=\"127.0.0.1\" secure=\"false\"/></cross-domain-policy>";
    const struct {
        const char* name;
        QByteArray xml;
        bool secure; // policy served over https
        const char* movie;
        bool admitted;
    } cases[] = {
        {"named host", wildcard, false, "http://127.0.0.1:8380/a.swf", true},
        {"host under a pattern", wildcard, false, "http://cdn.games.example/a.swf", true},
        {"the pattern's own domain", wildcard, false, "http://games.example/a.swf", true},
        {"case of the host", wildcard, false, "http://CDN.Games.Example/a.swf", true},
        {"host outside the pattern", wildcard, false, "http://evilgames.example/a.swf", false},
        {"other host", wildcard, false, "http://127.0.0.2/a.swf", false},
        {"http movie, https policy, secure entry", wildcard, true, "http://a.games.example/a.swf",
         false},
        {"https movie, https policy", wildcard, true, "https://a.games.example/a.swf", true},
        {"http movie, https policy, secure=\"false\"", wildcard, true, "http://127.0.0.1/a.swf",
         true},
        {"everyone", "<cross-domain-policy><allow-access-from domain=\"*\"/></cross-domain-policy>",
         false, "http://anywhere.example/a.swf", true},
        {"pattern never covers an address",
         "<cross-domain-policy><allow-access-from domain=\"*.0.0.1\"/></cross-domain-policy>",
         false, "http://127.0.0.1/a.swf", false},
        {"site control permitting none",
         "<cross-domain-policy><site-control permitted-cross-domain-policies=\"none\"/>"
         "<allow-access-from domain=\"*\"/></cross-domain-policy>",
         false, "http://anywhere.example/a.swf", false},
        {"other root", "<html><allow-access-from domain=\"*\"/></html>", false,
         "http://anywhere.example/a.swf", false},
        {"broken xml", "<cross-domain-policy><allow-access-from domain=\"*\">", false,
         "http://anywhere.example/a.swf", false},
        {"empty", "", false, "http://anywhere.example/a.swf", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            CrossDomainPolicy::parse(c.xml, c.secure).admits(QUrl(QString::fromLatin1(c.movie))),
            c.admitted);
    }
    EXPECT_FALSE(CrossDomainPolicy().admits(QUrl("http://127.0.0.1/a.swf")));
}

} // namespace
} // namespace zorvia::player
