#pragma once

#include "browser/cookie_jar.h"

#include <QObject>
#include <QPointer>

class QWebEngineCookieStore;

namespace zorvia::browser {

// Keeps a CookieJar in step with a web engine cookie store: every cookie the
// store reports as added (from response headers or page scripts, HttpOnly
// ones included, and the stored ones of earlier runs once they are loaded)
// or removed. Reading is synchronous and never waits for the store.
class CookieStoreReader : public QObject {
    Q_OBJECT
public:
    explicit CookieStoreReader(QWebEngineCookieStore* store, QObject* parent = nullptr);

    // "name=value; name=value" for a request to url; empty when none matches.
    QByteArray cookieHeaderFor(const QUrl& url) const;
    const CookieJar& jar() const { return jar_; }

private:
    QPointer<QWebEngineCookieStore> store_;
    CookieJar jar_;
};

} // namespace zorvia::browser
