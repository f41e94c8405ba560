#include "browser/profile_scripts.h"

#include <QList>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include <algorithm>
#include <map>

namespace zorvia::browser {

namespace {

struct ProfileState {
    QList<QWebEngineScript> moved; // the profile's scripts once they have moved
    bool hasMoved = false;
    QList<QPointer<QWebEnginePage>> pages;
};

std::map<const QWebEngineProfile*, ProfileState>& states() {
    static std::map<const QWebEngineProfile*, ProfileState> map;
    return map;
}

void copyInto(QWebEnginePage& page, const QList<QWebEngineScript>& scripts) {
    QWebEngineScriptCollection& own = page.scripts();
    for (const QWebEngineScript& script : scripts) {
        if (own.find(script.name()).isEmpty())
            own.insert(script);
    }
}

} // namespace

void adoptProfileScripts(QWebEnginePage& page) {
    ProfileState& state = states()[page.profile()];
    state.pages.removeAll(QPointer<QWebEnginePage>());
    state.pages.append(&page);
    if (state.hasMoved)
        copyInto(page, state.moved);
}

void moveProfileScriptsToPages(QWebEnginePage& page) {
    QWebEngineProfile* profile = page.profile();
    ProfileState& state = states()[profile];
    if (state.hasMoved)
        return;
    state.hasMoved = true;
    state.moved = profile->scripts()->toList();
    // Pages first, so that no new document of a page goes without them.
    for (const QPointer<QWebEnginePage>& each : std::as_const(state.pages)) {
        if (each)
            copyInto(*each, state.moved);
    }
    profile->scripts()->clear();
}

} // namespace zorvia::browser
