#pragma once

#include "player/cross_domain_policy.h"

#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWebEngineUrlSchemeHandler>

#include <functional>

class QWebEngineProfile;
class QWebEngineUrlRequestJob;

namespace zorvia::player {

// The scheme through which the game box's player loads what a movie needs
// from other hosts than the page's: "zorvia-net://load/?kind=movie|data&
// url=<address>[&method=<m>&type=<content type>&body=<base64>]&key=<key>",
// where the key is the handler's, given only to the player's script.
inline constexpr char kNetworkScheme[] = "zorvia-net";

// Registers the scheme with the web engine. It must run before the first
// web engine profile is made; later calls do nothing.
void registerNetworkScheme();

// Loads for the player of pages on the network, fetched by the game box with
// the profile's cookies for the host, whatever cross-origin headers the
// host sends, under the rules of a Flash player:
// - a movie (kind=movie) from any host, answered only when what arrives is
//   a movie (an empty answer for anything else, a failure where nothing
//   arrived);
// - data (kind=data) from the host of a movie that the page loaded this
//   way, or from a host whose /crossdomain.xml admits the page's host or
//   the host of one of its movies. Each host's policy is fetched once per
//   run. A refused load fails, and the log says why.
class NetworkLoads : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    explicit NetworkLoads(QWebEngineProfile& profile);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // The key that every request must carry, random for each run.
    QString key() const { return key_; }

private:
    struct Load {
        QUrl target;
        QString page; // origin of the page that asked
        QByteArray method = "GET";
        QByteArray type;
        QByteArray body;
    };
    using Job = QPointer<QWebEngineUrlRequestJob>;

    void loadData(const Job& job, const Load& load);
    void fetch(const Job& job, const Load& load, bool movie);
    void withPolicy(const QString& origin, std::function<void(const CrossDomainPolicy&)> then);

    QString key_;
    QNetworkAccessManager network_;
    QByteArray userAgent_;
    QHash<QString, QSet<QString>> movieOrigins_; // page origin → origins of its movies
    QHash<QString, CrossDomainPolicy> policies_; // host origin → its policy
    QHash<QString, QList<std::function<void(const CrossDomainPolicy&)>>> awaitingPolicy_;
};

} // namespace zorvia::player
