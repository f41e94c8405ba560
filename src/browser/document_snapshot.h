#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace zorvia::browser {

// What a page's document held when it finished loading: its title and
// address, and for each marker name the first element (in document order)
// whose id or name attribute equals it.
struct ElementSnapshot {
    QString name; // the marker name it was found by
    QString tagName;
    QString innerHTML;
    QString innerText;
};

struct DocumentSnapshot {
    QString title;
    QString location;
    std::vector<ElementSnapshot> elements;
};

// The marker names every new browser looks for: "swfurl", "swfhelp",
// "gameid", "loginflag" and "username", unless changed.
QStringList defaultMarkerNames();
void setDefaultMarkerNames(const QStringList& names);

// A script, run in an isolated world of the page, whose result describes
// the document for the given marker names (see parseSnapshot).
QString snapshotScript(const QStringList& markerNames);

// A script, run in an isolated world, that focuses the first element whose
// id or name equals name; its result tells whether one was found.
QString focusScript(const QString& name);

// Reads the result of snapshotScript; no value when it is not one (no
// document, or the script failed).
std::optional<DocumentSnapshot> parseSnapshot(const QVariant& result);

} // namespace zorvia::browser
