#include "browser/cookie_store_reader.h"

#include <QWebEngineCookieStore>

namespace zorvia::browser {

CookieStoreReader::CookieStoreReader(QWebEngineCookieStore* store, QObject* parent)
    : QObject(parent), store_(store) {
    if (!store)
        return;
    connect(store, &QWebEngineCookieStore::cookieAdded, this,
            [this](const QNetworkCookie& cookie) { jar_.insertCookie(cookie); });
    connect(store, &QWebEngineCookieStore::cookieRemoved, this,
            [this](const QNetworkCookie& cookie) { jar_.deleteCookie(cookie); });
    // Cookies kept on disk from earlier runs arrive through cookieAdded.
    store->loadAllCookies();
}

QByteArray CookieStoreReader::cookieHeaderFor(const QUrl& url) const {
    return jar_.cookieHeaderFor(url);
}

} // namespace zorvia::browser
