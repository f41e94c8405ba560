#include "app/run.h"

#include "app/application.h"
#include "ui/kit/error_report.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <memory>

namespace zorvia {

int runGameBox(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TApplication app(argc, argv);

    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    try {
        form->FormCreate();
    } catch (const std::exception& error) {
        ui::reportException(error);
    }
    if (form->terminateRequested())
        return 0;

    // The window is first shown when the message loop starts.
    QMetaObject::invokeMethod(form.get(), &QWidget::show, Qt::QueuedConnection);
    return app.exec();
}

} // namespace zorvia
