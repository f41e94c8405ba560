// Fuzz target: the cookie store reader's jar, fed cookies with any name,
// value, domain, path and expiry, some of them replaced or removed again.
// The header it gives for the portal goes into a request line: it never
// holds a line break, and it is the same when asked twice.
#include "browser/cookie_jar.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDateTime>
#include <QNetworkCookie>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <string>

using zorvia::fuzz::check;
using zorvia::fuzz::hasLineBreak;

namespace {

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

QNetworkCookie cookie(FuzzedDataProvider& provider) {
    QNetworkCookie c(bytes(provider), bytes(provider));
    c.setDomain(text(provider, {"", "127.0.0.1", ".127.0.0.1", "portal.test", ".portal.test",
                                ".test", "other.test"}));
    c.setPath(text(provider, {"", "/", "/mini.php", "/wendo/"}));
    if (provider.ConsumeBool())
        c.setExpirationDate(QDateTime::currentDateTimeUtc().addSecs(
            provider.ConsumeIntegralInRange<qint64>(-100000, 100000)));
    c.setSecure(provider.ConsumeBool());
    c.setHttpOnly(provider.ConsumeBool());
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    zorvia::browser::CookieJar jar;
    while (provider.remaining_bytes() > 0) {
        const QNetworkCookie c = cookie(provider);
        if (provider.ConsumeIntegralInRange(0, 7) == 0)
            jar.deleteCookie(c);
        else
            jar.insertCookie(c);
    }
    for (const char* address : {"http://127.0.0.1:8380/mini.php", "http://portal.test/mini.php"}) {
        const QUrl url(QString::fromLatin1(address));
        const QByteArray header = jar.cookieHeaderFor(url);
        check(!hasLineBreak(std::string_view(header.constData(), std::size_t(header.size()))),
              "the cookie header stays on its request line");
        check(jar.cookieHeaderFor(url) == header, "the cookie header is the same when asked twice");
    }
    return 0;
}
