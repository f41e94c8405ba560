#include "support/child_run.h"

#include "support/program_folder_guard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTest>

#include <unistd.h>

namespace zorvia::test {

std::unique_ptr<QProcess> startChild(const QString& folder, const QString& filter,
                                     const QStringList& environment, bool withPlayer) {
    const QString self = QCoreApplication::applicationFilePath();
    const QString source = ProgramFolderGuard::folder();
    QDir().mkpath(folder + "flash");
    const QString program = folder + QFileInfo(self).fileName();
    if (folder != source) {
        QFile::remove(program);
        // A hard link keeps the child's own path inside the folder.
        if (::link(QFile::encodeName(self).constData(), QFile::encodeName(program).constData()) !=
            0)
            QFile::copy(self, program);
        QFile::copy(source + "iInter.dll", folder + "iInter.dll");
        QFile::copy(source + "wendora.db", folder + "wendora.db");
        if (withPlayer)
            QFile::link(source + "player", folder + "player");
    }
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment vars = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : environment)
        vars.insert(pair.section('=', 0, 0), pair.section('=', 1));
    child->setProcessEnvironment(vars);
    child->setProcessChannelMode(QProcess::MergedChannels);
    child->start(program, {"--gtest_filter=" + filter});
    return child;
}

bool waitForChild(QProcess& child) {
    return QTest::qWaitFor([&] { return child.state() == QProcess::NotRunning; }, kChildTimeoutMs);
}

} // namespace zorvia::test
