#include "player/cross_domain_policy.h"

#include <QHostAddress>
#include <QXmlStreamReader>

namespace zorvia::player {

namespace {

bool matches(const QString& pattern, const QString& host) {
    if (pattern == u'*')
        return true;
    if (!pattern.startsWith(QLatin1String("*.")))
        return pattern == host;
    // A pattern covers names, never addresses.
    if (QHostAddress(host).protocol() != QAbstractSocket::UnknownNetworkLayerProtocol)
        return false;
    const QString domain = pattern.mid(2);
    return host == domain || host.endsWith(u'.' + domain);
}

} // namespace

CrossDomainPolicy CrossDomainPolicy::parse(const QByteArray& xml, bool servedSecurely) {
    CrossDomainPolicy policy;
    policy.servedSecurely_ = servedSecurely;
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("cross-domain-policy"))
        return {};
    while (reader.readNextStartElement()) {
        const auto name = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (name == QLatin1String("site-control") &&
            attributes.value(QLatin1String("permitted-cross-domain-policies")) ==
                QLatin1String("none"))
            return {};
        if (name == QLatin1String("allow-access-from")) {
            const QString domain =
                attributes.value(QLatin1String("domain")).toString().trimmed().toLower();
            if (!domain.isEmpty())
                policy.entries_.append(
                    {domain, attributes.value(QLatin1String("secure")) != QLatin1String("false")});
        }
        reader.skipCurrentElement();
    }
    if (reader.hasError())
        return {};
    return policy;
}

bool CrossDomainPolicy::admits(const QUrl& movie) const {
    const QString host = movie.host().toLower();
    if (host.isEmpty())
        return false;
    const bool movieSecure = movie.scheme() == QLatin1String("https");
    for (const Entry& entry : entries_) {
        if (servedSecurely_ && entry.secure && !movieSecure)
            continue;
        if (matches(entry.domain, host))
            return true;
    }
    return false;
}

} // namespace zorvia::player
