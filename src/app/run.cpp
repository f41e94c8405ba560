#include "app/run.h"

#include "app/application.h"
#include "platform/program_folder.h"
#include "platform/single_instance.h"
#include "ui/kit/error_report.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <memory>

namespace zorvia {

namespace {

// How long a second start waits for the running game box to answer; its
// start-up may still be waiting for the portal.
constexpr int kHandOverTimeoutMs = 15000;

} // namespace

int runGameBox(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TApplication app(argc, argv);

    // One game box per data folder: a second start brings the running one
    // forward and ends.
    platform::SingleInstance instance(ui::toQ(platform::dataFolder()));
    if (!instance.claim()) {
        instance.handOver(kHandOverTimeoutMs);
        return 0;
    }

    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    try {
        form->FormCreate();
    } catch (const std::exception& error) {
        ui::reportException(error);
    }
    if (form->terminateRequested())
        return 0;

    QObject::connect(&instance, &platform::SingleInstance::activationRequested, form.get(),
                     [f = form.get()] { f->bringToFront(); });

    // The window is first shown when the message loop starts.
    QMetaObject::invokeMethod(form.get(), &QWidget::show, Qt::QueuedConnection);
    return app.exec();
}

} // namespace zorvia
