#include "app/run.h"

#include "app/application.h"
#include "browser/process_model.h"
#include "browser/view_rendering.h"
#include "platform/program_folder.h"
#include "platform/single_instance.h"
#include "platform/start_up_trace.h"
#include "ui/kit/error_report.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QEvent>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <memory>

namespace zorvia {

namespace {

// How long a second start waits for the running game box to answer; its
// start-up may still be waiting for the portal.
constexpr int kHandOverTimeoutMs = 15000;

// The start-up trace's phase of the main window's first paint.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            platform::startUpPhase("first paint");
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

int runGameBox(int argc, char** argv) {
    platform::startUpPhase("main");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    browser::chooseViewRendering();
    browser::chooseProcessModel();
    TApplication app(argc, argv);
    platform::startUpPhase("Qt initialisation");

    // One game box per data folder: a second start brings the running one
    // forward and ends.
    platform::SingleInstance instance(ui::toQ(platform::dataFolder()));
    if (!instance.claim()) {
        instance.handOver(kHandOverTimeoutMs);
        return 0;
    }
    platform::startUpPhase("single-instance check");

    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    platform::startUpPhase("window creation");
    try {
        form->FormCreate();
    } catch (const std::exception& error) {
        ui::reportException(error);
    }
    platform::startUpPhase("FormCreate");
    if (form->terminateRequested())
        return 0;
    form->installEventFilter(new FirstPaint(form.get()));

    QObject::connect(&instance, &platform::SingleInstance::activationRequested, form.get(),
                     [f = form.get()] { f->bringToFront(); });

    // The window is first shown when the message loop starts.
    QMetaObject::invokeMethod(form.get(), &QWidget::show, Qt::QueuedConnection);
    return app.exec();
}

} // namespace zorvia
