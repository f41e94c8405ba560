#include "support/child_run.h"

#include "support/program_folder_guard.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTest>

#include <unistd.h>

namespace zorvia::test {

namespace {

// Gives `path` and what is under it, `program` left out, to `user`.
bool chownTree(const QString& path, uid_t user, const QString& program) {
    QStringList paths = {path};
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    for (const QString& each : paths)
        if (each != program && ::lchown(QFile::encodeName(each).constData(), user, user) != 0)
            return false;
    return true;
}

} // namespace

std::unique_ptr<QProcess> startChild(const QString& folder, const QString& filter,
                                     const QStringList& environment, bool withPlayer,
                                     const QString& ownTree) {
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
    QStringList args = {"--gtest_filter=" + filter};
    if (!ownTree.isEmpty() && ::getuid() == 0) {
        const uid_t nobody = 65534;
        if (!chownTree(ownTree, nobody, program))
            return child;
        args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + args;
        child->start("setpriv", args);
        return child;
    }
    child->start(program, args);
    return child;
}

bool waitForChild(QProcess& child) {
    return QTest::qWaitFor([&] { return child.state() == QProcess::NotRunning; }, kChildTimeoutMs);
}

} // namespace zorvia::test
