// How the web views are drawn: with the raster paint engine where the web
// engine composes without the GPU or the machine has none, unless the user
// chose a backend.
#include "browser/view_rendering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorvia::browser {
namespace {

TEST(ViewRendering, FlagsThatComposeWithoutTheGpu) {
    const struct {
        const char* flags;
        bool withoutGpu;
    } cases[] = {
        {"", false},
        {"--lang=zh-CN", false},
        {"--disable-gpu", true},
        {"--no-first-run  --disable-gpu --lang=zh-CN", true},
        {"\t--disable-gpu-compositing\n", true},
        {"--disable-gpu-rasterization", false},
        {"--disable-gpu-sandbox --enable-gpu", false},
        {"x--disable-gpu", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(composesWithoutGpu(c.flags), c.withoutGpu);
    }
}

TEST(ViewRendering, GpuDevices) {
    const struct {
        const char* node; // made under a device folder, or none
        bool gpu;
    } cases[] = {
        {nullptr, false},       {"dri/renderD128", true}, {"dri/card0", true},
        {"dri/by-path", false}, {"nvidia0", true},        {"nvidiactl", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node ? c.node : "none");
        QTemporaryDir devices;
        ASSERT_TRUE(devices.isValid());
        if (c.node) {
            const QString path = devices.filePath(c.node);
            QDir().mkpath(QFileInfo(path).path());
            QFile(path).open(QIODevice::WriteOnly);
        }
        EXPECT_EQ(hasGpuDevice(devices.path()), c.gpu);
    }
}

TEST(ViewRendering, ChoosesTheRasterEngineOnlyWithoutGpuAndWithoutTheUsersChoice) {
    // This machine's graphics devices, looked up here rather than through
    // the function the choice uses.
    const bool gpu =
        !QDir(QStringLiteral("/dev/dri"))
             .entryList({QStringLiteral("card*"), QStringLiteral("renderD*")}, QDir::System)
             .isEmpty() ||
        QFileInfo::exists(QStringLiteral("/dev/nvidia0"));
    const struct {
        const char* flags;
        const char* userBackend; // QT_QUICK_BACKEND, or none
        bool raster;
    } cases[] = {
        {"--disable-gpu", nullptr, true},
        {"--lang=zh-CN", nullptr, !gpu},
        {"--disable-gpu", "rhi", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        QQuickWindow::setSceneGraphBackend(QString());
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", c.flags);
        if (c.userBackend)
            qputenv("QT_QUICK_BACKEND", c.userBackend);
        else
            qunsetenv("QT_QUICK_BACKEND");
        chooseViewRendering();
        EXPECT_EQ(QQuickWindow::sceneGraphBackend() == QLatin1String("software"), c.raster);
    }
    qunsetenv("QT_QUICK_BACKEND");
}

} // namespace
} // namespace zorvia::browser
