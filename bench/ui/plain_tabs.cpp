#include "plain_tabs.h"

#include "player/player_scheme.h"

#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace zorvia::bench {

namespace {

constexpr char kLoader[] = R"JS(
(function () {
  if (!document.querySelector('embed,object')) return;
  var base = 'zorvia-player://player/';
  var original = window.fetch;
  window.fetch = function (input) {
    var url = String(input && input.url ? input.url : input);
    if (url.indexOf(base) !== 0 && url.indexOf('file:') !== 0)
      return original.apply(this, arguments);
    return new Promise(function (resolve, reject) {
      var request = new XMLHttpRequest();
      request.open('GET', url);
      request.responseType = 'arraybuffer';
      request.onload = function () {
        var type = /\.wasm$/.test(url) ? 'application/wasm' : 'application/octet-stream';
        var response = new Response(request.response, {headers: {'Content-Type': type}});
        Object.defineProperty(response, 'url', {value: url});
        resolve(response);
      };
      request.onerror = reject;
      request.send();
    });
  };
  window.RufflePlayer = {config: {publicPath: base, autoplay: 'on', unmuteOverlay: 'hidden',
                                  splashScreen: false, letterbox: 'on', contextMenu: 'off'}};
  var script = document.createElement('script');
  script.src = base + 'ruffle.js';
  (document.head || document.documentElement).appendChild(script);
})();
)JS";

} // namespace

PlainTabs::PlainTabs() {
    player::registerPlayerScheme();
    profile_ = new QWebEngineProfile(QStringLiteral("plain"), this);
    profile_->setPersistentStoragePath(storage_.path());
    profile_->setCachePath(storage_.filePath(QStringLiteral("cache")));
    QWebEngineSettings* settings = profile_->settings();
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    profile_->installUrlSchemeHandler(player::kPlayerScheme,
                                      new player::PlayerSchemeHandler(profile_));
    QWebEngineScript script;
    script.setSourceCode(QString::fromUtf8(kLoader));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::MainWorld);
    profile_->scripts()->insert(script);
}

PlainTabs::~PlainTabs() {
    // Pages go before their profile.
    while (count() > 0) {
        QWidget* view = widget(0);
        removeTab(0);
        delete view;
    }
}

QWebEngineView* PlainTabs::open(const QUrl& url) {
    auto* view = new QWebEngineView;
    view->setPage(new QWebEnginePage(profile_, view));
    addTab(view, url.fileName());
    setCurrentWidget(view);
    view->load(url);
    return view;
}

QWebEngineView* PlainTabs::currentView() const {
    return qobject_cast<QWebEngineView*>(currentWidget());
}

} // namespace zorvia::bench
