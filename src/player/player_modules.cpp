#include "player/player_modules.h"

#include <QHash>
#include <QRegularExpression>

namespace zorvia::player {

namespace {

// A module of the loader's bundle that stands for a file next to it:
// `124(e,n,a){e.exports=a.p+"<name>.wasm"}`, also in the forms
// `124:(e,n,a)=>{...}` and `124:function(e,n,a){...}`.
const QRegularExpression kFileModule(
    QStringLiteral(R"re((\d+)\s*(?::\s*(?:function\s*)?)?\(\s*\w+(?:\s*,\s*\w+)*\s*\)\s*)re"
                   R"re((?:=>\s*)?\{\s*\w+\.exports\s*=\s*\w+\.p\s*\+\s*"([\w.-]+\.wasm)")re"));
// The address of the module to fetch: `c?new URL(a(797),a.b):new URL(a(124),a.b)`.
const QRegularExpression kChoice(
    QStringLiteral(R"re((!?)\s*[\w$.]+\s*\?\s*new\s+URL\(\s*[\w$]+\((\d+)\)\s*,[^)]*\)\s*:)re"
                   R"re(\s*new\s+URL\(\s*[\w$]+\((\d+)\))re"));
const QRegularExpression kFeatureTest(QStringLiteral(
    R"re(WebAssembly\.validate\(\s*new\s+Uint8Array\(\s*\[([\d\s,]+)\]\s*\)\s*\))re"));

std::optional<QList<int>> bytesOf(const QString& list) {
    QList<int> bytes;
    for (const QString& item : list.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int value = item.trimmed().toInt(&ok);
        if (!ok || value < 0 || value > 255)
            return std::nullopt;
        bytes.append(value);
    }
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<PlayerModuleChoice> playerModuleChoice(const QByteArray& loader) {
    const QString text = QString::fromUtf8(loader);
    QHash<QString, QString> files;
    for (auto it = kFileModule.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        files.insert(match.captured(1), match.captured(2));
    }
    const QRegularExpressionMatch choice = kChoice.match(text);
    if (!choice.hasMatch())
        return std::nullopt;
    const bool negated = !choice.captured(1).isEmpty();
    PlayerModuleChoice result;
    result.extended = files.value(choice.captured(negated ? 3 : 2));
    result.plain = files.value(choice.captured(negated ? 2 : 3));
    for (auto it = kFeatureTest.globalMatch(text); it.hasNext();) {
        const auto bytes = bytesOf(it.next().captured(1));
        if (!bytes)
            return std::nullopt;
        result.featureTests.append(*bytes);
    }
    if (result.extended.isEmpty() || result.plain.isEmpty() || result.extended == result.plain ||
        result.featureTests.isEmpty())
        return std::nullopt;
    return result;
}

} // namespace zorvia::player
