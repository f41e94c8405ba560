#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

namespace zorvia::test {

// Keeps the program folder as a test found it: the game database's bytes
// are put back and files the test added to flash/ are removed when the
// guard ends.
class ProgramFolderGuard {
public:
    ProgramFolderGuard();
    ~ProgramFolderGuard();
    ProgramFolderGuard(const ProgramFolderGuard&) = delete;
    ProgramFolderGuard& operator=(const ProgramFolderGuard&) = delete;

    static QString folder();      // the program folder, ending in "/"
    static QString flashFolder(); // folder() + "flash/"

private:
    QByteArray database_;
    QSet<QString> flashFiles_;
};

} // namespace zorvia::test
