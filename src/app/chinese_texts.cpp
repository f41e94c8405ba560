#include "app/chinese_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zorvia {

bool installChineseTexts(QCoreApplication& app) {
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
    QLocale::setDefault(chinese);
    // The web engine takes its language from the default locale when it
    // starts; naming it outright also holds where the locale's short name
    // ("zh") would not select the simplified-Chinese pages.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--lang=")) {
        flags += flags.isEmpty() ? "--lang=zh-CN" : " --lang=zh-CN";
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }

    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool loaded = true;
    for (const char* catalogue : {"qtbase", "qtwebengine"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(chinese, QString::fromLatin1(catalogue), QStringLiteral("_"), folder))
            QCoreApplication::installTranslator(translator);
        else {
            delete translator;
            loaded = false;
        }
    }
    return loaded;
}

} // namespace zorvia
