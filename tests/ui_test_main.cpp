// GoogleTest main for tests that need the application object (and a display).
#include "app/application.h"
#include "browser/process_model.h"
#include "browser/view_rendering.h"

#include <QTemporaryDir>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    // Browser storage (cookies, cache) of this run only.
    QTemporaryDir webStorage;
    if (getenv("ZORVIA_WEBENGINE_DIR") == nullptr)
        setenv("ZORVIA_WEBENGINE_DIR", webStorage.path().toLocal8Bit().constData(), 1);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The web views are drawn, and their pages given processes, as in the
    // game box.
    zorvia::browser::chooseViewRendering();
    zorvia::browser::chooseProcessModel();
    zorvia::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
