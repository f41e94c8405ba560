#include "browser/process_model.h"

#include <QList>

#include <array>

namespace zorvia::browser {

QByteArray withSharedSiteProcesses(const QByteArray& chromiumFlags) {
    static constexpr std::array<const char*, 4> kModels{
        "--process-per-site", "--process-per-tab", "--single-process", "--renderer-process-limit"};
    for (const QByteArray& flag : chromiumFlags.simplified().split(' ')) {
        for (const char* model : kModels) {
            if (flag == model || flag.startsWith(QByteArray(model) + '='))
                return chromiumFlags;
        }
    }
    return chromiumFlags.isEmpty() ? QByteArray("--process-per-site")
                                   : chromiumFlags + " --process-per-site";
}

void chooseProcessModel() {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            withSharedSiteProcesses(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
}

} // namespace zorvia::browser
