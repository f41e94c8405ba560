#include "support/x_input.h"

#include <QProcess>

namespace zorvia::test {

bool xdotool(const QStringList& args) {
    QProcess process;
    process.start("xdotool", args);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace zorvia::test
