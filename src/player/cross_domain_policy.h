#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

namespace zorvia::player {

// A host's policy file ("/crossdomain.xml"): which movies' hosts may read
// that host's data. An entry names a host, a pattern "*.example.com" (the
// domain and every host under it) or "*" (every host). A policy served over
// https admits movies served over http only where its entry says
// secure="false". A policy that cannot be read, or one whose
// site-control permits no policies, admits nobody.
class CrossDomainPolicy {
public:
    // The policy that admits nobody: what a host without a policy file has.
    CrossDomainPolicy() = default;

    // The policy in xml, as served over https where `servedSecurely`.
    static CrossDomainPolicy parse(const QByteArray& xml, bool servedSecurely);

    // Whether a movie served from `movie` may read the host's data.
    bool admits(const QUrl& movie) const;

private:
    struct Entry {
        QString domain; // lower case
        bool secure = true;
    };
    QList<Entry> entries_;
    bool servedSecurely_ = false;
};

} // namespace zorvia::player
