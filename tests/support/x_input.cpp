#include "support/x_input.h"

#include <QProcess>
#include <QTest>

namespace zorvia::test {

bool xdotool(const QStringList& args) {
    QProcess process;
    process.start("xdotool", args);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    if (process.exitCode() != 0)
        return false;
    QTest::qWait(300); // let the input arrive and the page react
    return true;
}

} // namespace zorvia::test
