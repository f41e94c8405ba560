#include "player/movie_control.h"

#include <QFile>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace zorvia::player {

namespace {

QString controlScript(const char* command) {
    static const QString source = [] {
        QFile file(QStringLiteral(":/player/movie_control.js"));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }();
    return QString(source).replace(QLatin1String("@COMMAND@"), QLatin1String(command));
}

} // namespace

void pauseMovies(QWebEnginePage& page) {
    page.runJavaScript(controlScript("pause"), QWebEngineScript::MainWorld);
}

void resumeMovies(QWebEnginePage& page) {
    page.runJavaScript(controlScript("resume"), QWebEngineScript::MainWorld);
}

void fillPageWithMovie(QWebEnginePage& page, bool on, std::function<void(bool found)> done) {
    page.runJavaScript(controlScript(on ? "fill" : "unfill"), QWebEngineScript::MainWorld,
                       [done = std::move(done)](const QVariant& found) {
                           if (done)
                               done(found.toInt() > 0);
                       });
}

} // namespace zorvia::player
