#include "player/network_loads.h"

#include <QBuffer>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QUrlQuery>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace zorvia::player {

namespace {

constexpr int kTransferTimeoutMs = 30000;
constexpr qint64 kMaxBytes = qint64(256) << 20;
constexpr qint64 kMaxPolicyBytes = qint64(1) << 20;

// The profile's cookies, kept up to date from its store; cookies that
// replies set go back to the store, as the browser's own requests do.
class ProfileCookieJar : public QNetworkCookieJar {
public:
    ProfileCookieJar(QWebEngineCookieStore* store, QObject* parent)
        : QNetworkCookieJar(parent), store_(store) {
        connect(store, &QWebEngineCookieStore::cookieAdded, this,
                [this](const QNetworkCookie& cookie) { insertCookie(cookie); });
        connect(store, &QWebEngineCookieStore::cookieRemoved, this,
                [this](const QNetworkCookie& cookie) { deleteCookie(cookie); });
        store->loadAllCookies();
    }

    bool setCookiesFromUrl(const QList<QNetworkCookie>& cookies, const QUrl& url) override {
        const bool any = QNetworkCookieJar::setCookiesFromUrl(cookies, url);
        for (const QNetworkCookie& cookie : cookies)
            store_->setCookie(cookie, url);
        return any;
    }

private:
    QWebEngineCookieStore* store_;
};

// "scheme://host:port", with the scheme's port where the address has none.
QString originOf(const QUrl& url) {
    const int port = url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    return url.scheme() + QLatin1String("://") + url.host().toLower() + u':' +
           QString::number(port);
}

bool isWeb(const QUrl& url) {
    return (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
           !url.host().isEmpty();
}

bool isMovie(const QByteArray& bytes) {
    return bytes.size() >= 8 &&
           (bytes.startsWith("FWS") || bytes.startsWith("CWS") || bytes.startsWith("ZWS"));
}

void answer(QWebEngineUrlRequestJob* job, const QByteArray& type, const QByteArray& bytes) {
    auto* buffer = new QBuffer(job);
    buffer->setData(bytes);
    job->reply(type.isEmpty() ? QByteArrayLiteral("application/octet-stream") : type, buffer);
}

} // namespace

void registerNetworkScheme() {
    static const bool registered = [] {
        QWebEngineUrlScheme scheme(kNetworkScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        // Pages served over https may ask it too, and their requests are
        // answered across origins.
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
        QWebEngineUrlScheme::registerScheme(scheme);
        return true;
    }();
    (void)registered;
}

NetworkLoads::NetworkLoads(QWebEngineProfile& profile)
    : QWebEngineUrlSchemeHandler(&profile), userAgent_(profile.httpUserAgent().toUtf8()) {
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    for (const quint32 word : words)
        key_ += QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0'));
    network_.setCookieJar(new ProfileCookieJar(profile.cookieStore(), &network_));
}

void NetworkLoads::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    const QUrlQuery query(url);
    Load load;
    load.target = QUrl(query.queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded));
    load.page = job->initiator().isValid() && isWeb(job->initiator()) ? originOf(job->initiator())
                                                                      : QString();
    const QString kind = query.queryItemValue(QStringLiteral("kind"));
    if (url.host() != QLatin1String("load") ||
        query.queryItemValue(QStringLiteral("key")) != key_ || !isWeb(load.target) ||
        load.page.isEmpty() || job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    if (query.hasQueryItem(QStringLiteral("method"))) {
        load.method = query.queryItemValue(QStringLiteral("method")).toLatin1();
        load.type = query.queryItemValue(QStringLiteral("type"), QUrl::FullyDecoded).toLatin1();
        load.body = QByteArray::fromBase64(
            query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded).toLatin1());
    }
    if (kind == QLatin1String("movie"))
        fetch(job, load, true);
    else if (kind == QLatin1String("data"))
        loadData(job, load);
    else
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
}

void NetworkLoads::loadData(const Job& job, const Load& load) {
    const QString target = originOf(load.target);
    const QSet<QString> movies = movieOrigins_.value(load.page);
    if (movies.contains(target)) {
        fetch(job, load, false);
        return;
    }
    withPolicy(target, [this, job, load, movies, target](const CrossDomainPolicy& policy) {
        if (!job)
            return;
        if (policy.admits(QUrl(load.page))) {
            fetch(job, load, false);
            return;
        }
        for (const QString& movie : movies) {
            if (policy.admits(QUrl(movie))) {
                fetch(job, load, false);
                return;
            }
        }
        qWarning("Flash player: refused to load %s for the movies of a page of %s: "
                 "%s/crossdomain.xml admits neither the page's host nor its movies' hosts",
                 qPrintable(load.target.toString()), qPrintable(load.page), qPrintable(target));
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    });
}

void NetworkLoads::fetch(const Job& job, const Load& load, bool movie) {
    QNetworkRequest request(load.target);
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent_);
    // The browser's own requests across origins name the page's origin.
    request.setRawHeader("Referer", load.page.toUtf8() + '/');
    // Data stays on the host whose policy admitted it.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         movie ? QNetworkRequest::NoLessSafeRedirectPolicy
                               : QNetworkRequest::SameOriginRedirectPolicy);
    if (!load.type.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, load.type);
    QNetworkReply* reply = network_.sendCustomRequest(
        request, load.method, load.method == "GET" ? QByteArray() : load.body);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, job, load, movie] {
        reply->deleteLater();
        if (!job)
            return;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
            qWarning("Flash player: %s could not be fetched: %s",
                     qPrintable(load.target.toString()), qPrintable(reply->errorString()));
            job->fail(QWebEngineUrlRequestJob::RequestFailed);
            return;
        }
        const QByteArray bytes = reply->readAll();
        if (!movie) {
            answer(job, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), bytes);
            return;
        }
        // The page never sees what is not a movie; an empty answer tells the
        // player that something other than a movie arrived.
        if (!isMovie(bytes)) {
            qWarning("Flash player: %s is not a movie", qPrintable(load.target.toString()));
            answer(job, "application/x-shockwave-flash", {});
            return;
        }
        movieOrigins_[load.page].insert(originOf(reply->url()));
        answer(job, "application/x-shockwave-flash", bytes);
    });
}

void NetworkLoads::withPolicy(const QString& origin,
                              std::function<void(const CrossDomainPolicy&)> then) {
    if (const auto known = policies_.constFind(origin); known != policies_.cend()) {
        then(*known);
        return;
    }
    auto& waiting = awaitingPolicy_[origin];
    waiting.append(std::move(then));
    if (waiting.size() > 1)
        return;
    QNetworkRequest request(QUrl(origin + QLatin1String("/crossdomain.xml")));
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    QNetworkReply* reply = network_.get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxPolicyBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, origin] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        CrossDomainPolicy policy;
        if (reply->error() == QNetworkReply::NoError && status == 200)
            policy = CrossDomainPolicy::parse(reply->readAll(),
                                              origin.startsWith(QLatin1String("https:")));
        policies_.insert(origin, policy);
        const auto waiting = awaitingPolicy_.take(origin);
        for (const auto& then : waiting)
            then(policy);
    });
}

} // namespace zorvia::player
