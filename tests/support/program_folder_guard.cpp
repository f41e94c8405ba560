#include "support/program_folder_guard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace zorvia::test {

namespace {

QString databasePath() {
    return ProgramFolderGuard::folder() + "wendora.db";
}

QSet<QString> flashFileNames() {
    const QStringList names = QDir(ProgramFolderGuard::flashFolder()).entryList(QDir::Files);
    return {names.begin(), names.end()};
}

} // namespace

QString ProgramFolderGuard::folder() {
    return QCoreApplication::applicationDirPath() + "/";
}

QString ProgramFolderGuard::flashFolder() {
    return folder() + "flash/";
}

ProgramFolderGuard::ProgramFolderGuard() : flashFiles_(flashFileNames()) {
    QFile file(databasePath());
    if (file.open(QIODevice::ReadOnly))
        database_ = file.readAll();
}

ProgramFolderGuard::~ProgramFolderGuard() {
    if (!database_.isEmpty()) {
        QFile file(databasePath());
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(database_);
    }
    for (const QString& name : flashFileNames())
        if (!flashFiles_.contains(name))
            QFile::remove(flashFolder() + name);
}

} // namespace zorvia::test
