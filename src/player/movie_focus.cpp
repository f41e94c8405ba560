#include "player/movie_focus.h"

#include <QFile>
#include <QRandomGenerator>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace zorvia::player {

const QString& movieFocusToken() {
    static const QString token = [] {
        QString text = QStringLiteral("zorvia-movie-focus-");
        for (int i = 0; i < 4; ++i)
            text += QString::number(QRandomGenerator::system()->generate(), 16);
        return text;
    }();
    return token;
}

void installMovieFocusReports(QWebEngineProfile& profile) {
    QFile file(QStringLiteral(":/player/movie_focus.js"));
    file.open(QIODevice::ReadOnly);
    QWebEngineScript script;
    script.setName(QStringLiteral("zorvia-movie-focus"));
    script.setSourceCode(
        QString::fromUtf8(file.readAll()).replace(QStringLiteral("@TOKEN@"), movieFocusToken()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    profile.scripts()->insert(script);
}

bool MovieFocus::take(const QString& message) {
    // "<token> 1 <frame>" or "<token> 0 <frame>"
    const QString& token = movieFocusToken();
    if (!message.startsWith(token) || message.size() < token.size() + 4 ||
        message[token.size()] != u' ' || message[token.size() + 2] != u' ')
        return false;
    const QChar state = message[token.size() + 1];
    const QString frame = message.mid(token.size() + 3);
    if (state == u'1')
        frames_.insert(frame);
    else if (state == u'0')
        frames_.remove(frame);
    else
        return false;
    return true;
}

} // namespace zorvia::player
