#include "browser/movie_refocus.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWidget>

namespace zorvia::browser {

namespace {

// The focused element of a document stays focused while its window has not
// the focus; look through the frames it may reach.
constexpr auto kMovieFocused = R"((function () {
  function movieFocused(doc) {
    var element = doc.activeElement;
    if (!element)
      return false;
    if (/^RUFFLE-(EMBED|OBJECT|PLAYER)$/.test(element.tagName))
      return true;
    try {
      return !!element.contentDocument && movieFocused(element.contentDocument);
    } catch (e) {
      return false;
    }
  }
  return movieFocused(document);
})())";

} // namespace

void refocusMovie(QWebEnginePage& page, QWidget& view) {
    QPointer<QWidget> target(&view);
    page.runJavaScript(QString::fromLatin1(kMovieFocused), QWebEngineScript::ApplicationWorld,
                       [target](const QVariant& focused) {
                           if (target && focused.toBool() && target->isVisible())
                               target->setFocus(Qt::OtherFocusReason);
                       });
}

} // namespace zorvia::browser
