#include "browser/web_profile.h"

#include "browser/cookie_store_reader.h"
#include "platform/program_folder.h"
#include "player/flash_player.h"
#include "player/movie_scheme.h"
#include "text/file_path.h"

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
    // Pages open windows only within a click or key of the user, as pop-up
    // rules have it; every new window becomes a request that the owner of
    // the browser decides on.
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    // Games play sound without a click first.
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    // Local content (a local movie's page among them) reads no file of the
    // disk and no other site's replies: a local movie reaches its own folder
    // through its scheme (movie_scheme.h) and the network as any page does.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
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
        // The program's flash folder, unless one was chosen before.
        if (player::localMovieFolder().isEmpty())
            player::setLocalMovieFolder(
                QString::fromStdString(text::toFileSystem(platform::dataFolder() + "flash")));
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
