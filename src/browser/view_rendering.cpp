#include "browser/view_rendering.h"

#include <QDir>
#include <QFileInfo>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace zorvia::browser {

bool composesWithoutGpu(const QByteArray& chromiumFlags) {
    for (const QByteArray& flag : chromiumFlags.simplified().split(' ')) {
        if (flag == "--disable-gpu" || flag == "--disable-gpu-compositing")
            return true;
    }
    return false;
}

bool hasGpuDevice(const QString& devices) {
    const QDir dri(devices + QStringLiteral("/dri"));
    return !dri.entryList({QStringLiteral("card*"), QStringLiteral("renderD*")},
                          QDir::Files | QDir::System)
                .isEmpty() ||
           QFileInfo::exists(devices + QStringLiteral("/nvidia0"));
}

void chooseViewRendering() {
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
        qEnvironmentVariableIsSet("QMLSCENE_DEVICE"))
        return;
    if (composesWithoutGpu(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")) || !hasGpuDevice())
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

} // namespace zorvia::browser
