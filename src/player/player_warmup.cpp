#include "player/player_warmup.h"

#include "player/player_modules.h"
#include "player/player_scheme.h"
#include "player/player_server.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>

namespace zorvia::player {

namespace {

QString jsString(const QString& text) {
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// Read once: the player folder does not change while the game box runs.
const std::optional<PlayerModuleChoice>& shippedChoice() {
    static const std::optional<PlayerModuleChoice> choice = [] {
        QFile loader(QDir(playerFolder()).filePath(QStringLiteral("ruffle.js")));
        return loader.open(QIODevice::ReadOnly) ? playerModuleChoice(loader.readAll())
                                                : std::nullopt;
    }();
    return choice;
}

} // namespace

QString warmUpScript(const PlayerModuleChoice& choice, const QString& base) {
    QJsonArray tests;
    for (const QList<int>& bytes : choice.featureTests) {
        QJsonArray test;
        for (const int byte : bytes)
            test.append(byte);
        tests.append(test);
    }
    return QStringLiteral(R"js((function () {
  'use strict';
  if (window.%1 || typeof WebAssembly !== 'object' || typeof Worker !== 'function')
    return;
  var extended = %2.every(function (bytes) {
    try {
      return WebAssembly.validate(new Uint8Array(bytes));
    } catch (e) {
      return false;
    }
  });
  var record = window.%1 = {url: %3 + (extended ? %4 : %5), module: null, failed: false};
  // A worker fetches and compiles: its request stays out of the page's
  // records. The whole module is compiled at once rather than as it
  // arrives: the engine then makes a page that asks for the same module
  // meanwhile wait for this compile instead of compiling it again. The
  // module comes back here and the worker ends.
  var source = 'fetch(' + JSON.stringify(record.url) + ').then(function (response) {' +
      '  if (!response.ok) throw new Error(response.status);' +
      '  return response.arrayBuffer();' +
      '}).then(function (bytes) { return WebAssembly.compile(bytes); })' +
      '.then(function (module) { postMessage(module); }, function () { postMessage(null); });';
  var address = URL.createObjectURL(new Blob([source], {type: 'text/javascript'}));
  var worker;
  function end(module) {
    record.module = module instanceof WebAssembly.Module ? module : null;
    record.failed = !record.module;
    worker.terminate();
    URL.revokeObjectURL(address);
  }
  try {
    worker = new Worker(address);
  } catch (e) {
    record.failed = true;
    URL.revokeObjectURL(address);
    return;
  }
  worker.onmessage = function (event) {
    end(event.data);
  };
  worker.onerror = function (event) {
    event.preventDefault();
    end(null);
  };
})();)js")
        .arg(QLatin1String(kWarmUpRecord),
             QString::fromUtf8(QJsonDocument(tests).toJson(QJsonDocument::Compact)), jsString(base),
             jsString(choice.extended), jsString(choice.plain));
}

void warmUpPlayer(QWebEnginePage& page) {
    const auto* server = page.profile()->findChild<PlayerServer*>();
    if (!server || server->baseUrl().isEmpty() || !shippedChoice())
        return;
    page.runJavaScript(warmUpScript(*shippedChoice(), server->baseUrl()),
                       QWebEngineScript::ApplicationWorld);
}

void warmUpPlayerLater(QWebEnginePage& page, std::chrono::milliseconds delay,
                       std::function<bool()> wanted) {
    QTimer::singleShot(delay, &page, [&page, wanted = std::move(wanted)] {
        if (wanted())
            warmUpPlayer(page);
    });
}

} // namespace zorvia::player
