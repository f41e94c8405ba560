#pragma once

#include <QByteArray>
#include <QString>

namespace zorvia::browser {

// Whether the web engine's Chromium switches (as in
// QTWEBENGINE_CHROMIUM_FLAGS) have it compose pages without the GPU.
bool composesWithoutGpu(const QByteArray& chromiumFlags);

// Whether the machine has a graphics processor this process could draw
// with: a DRM device under `devices`/dri or a device of the NVIDIA driver.
bool hasGpuDevice(const QString& devices = QStringLiteral("/dev"));

// Chooses how the web views are drawn into their windows; call before the
// application object exists. Where the web engine composes its pages
// without the GPU, or the machine has none, the views draw those pages with
// the raster paint engine (and the web engine then composes them without
// the GPU): drawing them through OpenGL would only add a software OpenGL
// pass over the whole window for every frame. A scene graph backend the user chose
// (QT_QUICK_BACKEND) is kept.
void chooseViewRendering();

} // namespace zorvia::browser
