#include "browser/document_snapshot.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace zorvia::browser {

namespace {

QStringList& markerNames() {
    static QStringList names{QStringLiteral("swfurl"), QStringLiteral("swfhelp"),
                             QStringLiteral("gameid"), QStringLiteral("loginflag"),
                             QStringLiteral("username")};
    return names;
}

// A JSON array literal is a valid script literal and escapes every text.
QString scriptArray(const QStringList& values) {
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}

// Walks the elements that carry an id or a name, in document order, and
// reports each wanted name once, at its first element.
constexpr auto kFirstByIdOrName = R"(
function firstByIdOrName(names) {
  var found = new Map();
  var all = document.querySelectorAll('[id],[name]');
  for (var i = 0; i < all.length && found.size < names.length; ++i) {
    var e = all[i];
    var keys = [e.getAttribute('id'), e.getAttribute('name')];
    for (var k = 0; k < keys.length; ++k) {
      var key = keys[k];
      if (key !== null && names.indexOf(key) >= 0 && !found.has(key))
        found.set(key, e);
    }
  }
  return found;
}
)";

} // namespace

QStringList defaultMarkerNames() {
    return markerNames();
}

void setDefaultMarkerNames(const QStringList& names) {
    markerNames() = names;
}

QString snapshotScript(const QStringList& names) {
    return QStringLiteral("(function(names) {%1"
                          "  var found = firstByIdOrName(names);"
                          "  var elements = [];"
                          "  found.forEach(function(e, key) {"
                          "    elements.push([key, e.tagName, e.innerHTML, e.innerText]);"
                          "  });"
                          "  return {title: document.title, location: String(location.href),"
                          "          elements: elements};"
                          "})(%2)")
        .arg(QString::fromLatin1(kFirstByIdOrName), scriptArray(names));
}

QString focusScript(const QString& name) {
    return QStringLiteral("(function(names) {%1"
                          "  var e = firstByIdOrName(names).get(names[0]);"
                          "  if (!e) return false;"
                          "  e.focus();"
                          "  return true;"
                          "})(%2)")
        .arg(QString::fromLatin1(kFirstByIdOrName), scriptArray({name}));
}

std::optional<DocumentSnapshot> parseSnapshot(const QVariant& result) {
    if (result.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap map = result.toMap();
    if (!map.contains(QStringLiteral("location")))
        return std::nullopt;
    DocumentSnapshot snapshot;
    snapshot.title = map.value(QStringLiteral("title")).toString();
    snapshot.location = map.value(QStringLiteral("location")).toString();
    const QVariantList elements = map.value(QStringLiteral("elements")).toList();
    for (const QVariant& entry : elements) {
        const QVariantList fields = entry.toList();
        if (fields.size() != 4)
            continue;
        snapshot.elements.push_back({fields[0].toString(), fields[1].toString(),
                                     fields[2].toString(), fields[3].toString()});
    }
    return snapshot;
}

} // namespace zorvia::browser
