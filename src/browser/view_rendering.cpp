#include "browser/view_rendering.h"

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

void chooseViewRendering() {
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
        qEnvironmentVariableIsSet("QMLSCENE_DEVICE"))
        return;
    if (composesWithoutGpu(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

} // namespace zorvia::browser
