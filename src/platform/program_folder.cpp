#include "platform/program_folder.h"

#include "text/file_path.h"

#include <QStandardPaths>

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace zorvia::platform {

namespace {

AnsiString withSlash(AnsiString folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// The user's data folder of the program as an ANSI path, like every local
// path of the program.
AnsiString userDataFolder() {
    const QByteArray utf8 =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toUtf8();
    return withSlash(text::fromFileSystem(std::string_view(utf8.constData(), utf8.size())));
}

} // namespace

AnsiString programFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "./";
    return withSlash(text::fromFileSystem(exe.parent_path().native()));
}

bool isInstalledFolder(const AnsiString& executableFolder) {
    const std::filesystem::path folder = text::fileSystemPath(executableFolder);
    const std::string native = folder.lexically_normal().native();
    if (native.starts_with("/usr/"))
        return true;
    // The install's layout: <prefix>/bin/zorvia leads to <prefix>/lib/zorvia/zorvia.
    std::error_code ec;
    return std::filesystem::equivalent(folder / "../../bin/zorvia", folder / "zorvia", ec) && !ec;
}

AnsiString chooseDataFolder(const AnsiString& executableFolder, const AnsiString& userFolder) {
    // An installed program folder may be writable for root, yet it belongs
    // to the installation, not to the user who runs it. access() also
    // answers "no" for a folder on a read-only file system, where the
    // owner's permission bits alone would say yes.
    if (isInstalledFolder(executableFolder))
        return userFolder;
    return ::access(text::toFileSystem(executableFolder).c_str(), W_OK | X_OK) == 0
               ? executableFolder
               : userFolder;
}

AnsiString dataFolder() {
    return chooseDataFolder(programFolder(), userDataFolder());
}

bool dataFolderIsPerUser() {
    return dataFolder() != programFolder();
}

} // namespace zorvia::platform
