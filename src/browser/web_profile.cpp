#include "browser/web_profile.h"

#include "browser/cookie_store_reader.h"
#include "player/flash_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace zorvia::browser {

namespace {

constexpr auto kProfileName = "zorvia";
constexpr auto kStorageEnv = "ZORVIA_WEBENGINE_DIR";

QString& chosenStoragePath() {
    static QString path;
    return path;
}

QPointer<QWebEngineProfile>& profileInstance() {
    static QPointer<QWebEngineProfile> profile;
    return profile;
}

QPointer<CookieStoreReader>& readerInstance() {
    static QPointer<CookieStoreReader> reader;
    return reader;
}

void configure(QWebEngineProfile& profile) {
    const QString storage = profileStoragePath();
    QDir().mkpath(storage);
    profile.setPersistentStoragePath(storage);
    profile.setCachePath(QDir(storage).filePath(QStringLiteral("cache")));
    profile.setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);

    QWebEngineSettings* settings = profile.settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    // Pages may open windows from scripts; every new window becomes a
    // request that the owner of the browser decides on.
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    // Games play sound without a click first.
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    // Local pages (a local movie's host page among them) reach the player
    // scheme, which the web engine counts as remote.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // Page icons are never shown: do not fetch them.
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
}

} // namespace

QString profileStoragePath() {
    const QByteArray fromEnv = qgetenv(kStorageEnv);
    if (!fromEnv.isEmpty())
        return QString::fromLocal8Bit(fromEnv);
    if (!chosenStoragePath().isEmpty())
        return chosenStoragePath();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("webengine"));
}

bool setProfileStoragePath(const QString& path) {
    if (profileInstance())
        return false;
    chosenStoragePath() = path;
    return true;
}

QWebEngineProfile* sharedProfile() {
    auto& profile = profileInstance();
    if (!profile) {
        player::registerFlashPlayerSchemes();
        // Owned by the application object, so it outlives every page that
        // the windows own and is released before the web engine shuts down.
        profile =
            new QWebEngineProfile(QString::fromLatin1(kProfileName), QCoreApplication::instance());
        configure(*profile);
        player::installFlashPlayer(*profile);
        readerInstance() = new CookieStoreReader(profile->cookieStore(), profile);
    }
    return profile;
}

const CookieStoreReader& profileCookies() {
    sharedProfile();
    return *readerInstance();
}

AnsiString cookiesForUrl(const QString& url) {
    return profileCookies().cookieHeaderFor(QUrl(url)).toStdString();
}

} // namespace zorvia::browser
