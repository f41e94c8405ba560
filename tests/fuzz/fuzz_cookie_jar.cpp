// Fuzz target: the cookie store reader's jar, fed cookies with any name,
// value, domain, path and expiry, some of them replaced or removed again.
// The jar holds what a list of the same operations holds: a cookie replaces
// one of the same name, domain and path in its place, an expired one removes
// it, a removal takes it out. The header it gives for the portal goes into a
// request line: it never holds a line break.
#include "browser/cookie_jar.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDateTime>
#include <QNetworkCookie>
#include <QUrl>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using zorvia::fuzz::check;
using zorvia::fuzz::hasLineBreak;

namespace {

// The jar with its whole list in sight.
class Jar : public zorvia::browser::CookieJar {
public:
    QList<QNetworkCookie> all() const { return allCookies(); }
};

QByteArray bytes(FuzzedDataProvider& provider) {
    const std::string s = provider.ConsumeRandomLengthString(64);
    return QByteArray(s.data(), qsizetype(s.size()));
}

QString text(FuzzedDataProvider& provider, std::initializer_list<const char*> usual) {
    const auto pick = provider.ConsumeIntegralInRange<std::size_t>(0, usual.size());
    if (pick < usual.size())
        return QString::fromLatin1(usual.begin()[pick]);
    return QString::fromUtf8(bytes(provider));
}

struct Made {
    QNetworkCookie cookie;
    int expired; // 1 expired, 0 not, -1 expiring about now
};

Made cookie(FuzzedDataProvider& provider) {
    // Names and values from a short list as well, so that replacements happen.
    const auto pick = provider.ConsumeIntegralInRange(0, 3);
    QNetworkCookie c(pick == 0   ? "sid"
                     : pick == 1 ? "user"
                     : pick == 2 ? ""
                                 : bytes(provider),
                     bytes(provider));
    c.setDomain(text(provider, {"", "127.0.0.1", ".127.0.0.1", "portal.test", ".portal.test",
                                ".test", "other.test"}));
    c.setPath(text(provider, {"", "/", "/mini.php", "/wendo/"}));
    int expired = 0;
    if (provider.ConsumeBool()) {
        const auto offset = provider.ConsumeIntegralInRange<qint64>(-100000, 100000);
        c.setExpirationDate(QDateTime::currentDateTimeUtc().addSecs(offset));
        expired = offset < -5 ? 1 : offset > 5 ? 0 : -1;
    }
    c.setSecure(provider.ConsumeBool());
    c.setHttpOnly(provider.ConsumeBool());
    return {c, expired};
}

bool same(const QNetworkCookie& a, const QNetworkCookie& b) {
    return a.hasSameIdentifier(b) && a.value() == b.value() &&
           a.expirationDate() == b.expirationDate() && a.isSecure() == b.isSecure();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    Jar jar;
    std::vector<QNetworkCookie> model;
    while (provider.remaining_bytes() > 0) {
        const Made made = cookie(provider);
        const QNetworkCookie& c = made.cookie;
        const int expired = made.expired;
        const auto held = std::find_if(model.begin(), model.end(),
                                       [&](const auto& m) { return m.hasSameIdentifier(c); });
        if (provider.ConsumeIntegralInRange(0, 7) == 0) {
            check(jar.deleteCookie(c) == (held != model.end()),
                  "a removal reports whether the cookie was there");
            if (held != model.end())
                model.erase(held);
        } else {
            const bool kept = jar.insertCookie(c);
            if (expired >= 0)
                check(kept == (expired == 0), "an expired cookie is not kept");
            if (!kept && held != model.end())
                model.erase(held);
            else if (kept && held != model.end())
                *held = c;
            else if (kept)
                model.push_back(c);
        }
    }
    const auto all = jar.all();
    check(std::size_t(all.size()) == model.size() &&
              std::equal(model.begin(), model.end(), all.begin(), same),
          "the jar holds the cookies inserted last, replacements in their place");
    for (const char* address : {"http://127.0.0.1:8380/mini.php", "http://portal.test/mini.php"}) {
        const QByteArray header = jar.cookieHeaderFor(QUrl(QString::fromLatin1(address)));
        check(!hasLineBreak(std::string_view(header.constData(), std::size_t(header.size()))),
              "the cookie header stays on its request line");
    }
    return 0;
}
