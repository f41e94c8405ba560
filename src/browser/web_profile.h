#pragma once

#include "text/ansi.h"

#include <QString>

class QWebEngineProfile;

namespace zorvia::browser {

class CookieStoreReader;

// The one persistent web engine profile that every browser of the program
// shares, so that a portal login made in one browser holds in all of them
// and survives a restart. Created on first use (a QApplication must exist)
// and destroyed with the application object.
//
// Its storage (cookies, local storage, cache) lives in, by precedence:
// the folder named by the environment variable ZORVIA_WEBENGINE_DIR, the
// folder given to setProfileStoragePath(), or the "webengine" folder under
// the user's application data location.
QWebEngineProfile* sharedProfile();

// Chooses the storage folder. Only effective before the profile is created;
// returns false (and changes nothing) afterwards.
bool setProfileStoragePath(const QString& path);

// The storage folder in use, or the one that will be used.
QString profileStoragePath();

// The cookies of the shared profile, kept up to date from its cookie store.
const CookieStoreReader& profileCookies();

// The cookies the shared profile holds for url, as a request header value
// "name=value; name=value" in CP936 bytes (cookie bytes are passed through
// unchanged); empty when there are none.
AnsiString cookiesForUrl(const QString& url);

} // namespace zorvia::browser
