// How the web views are drawn: with the raster paint engine where the web
// engine composes without the GPU, unless the user chose a backend.
#include "browser/view_rendering.h"

#include <QQuickWindow>
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

TEST(ViewRendering, ChoosesTheRasterEngineOnlyWithoutGpuAndWithoutTheUsersChoice) {
    const struct {
        const char* flags;
        const char* userBackend; // QT_QUICK_BACKEND, or none
        bool raster;
    } cases[] = {
        {"--disable-gpu", nullptr, true},
        {"--lang=zh-CN", nullptr, false},
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
