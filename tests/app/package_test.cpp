// The Debian package: built by CPack from this build, listed and described
// by dpkg-deb.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString output(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(540000))
        p.kill();
    if (exitCode != nullptr)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

TEST(Package, DebHoldsTheGameBoxAndDeclaresItsDependencies) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    int code = -1;
    const QString log = output(
        "cpack", {"-G", "DEB", "--config", ZORVIA_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()},
        &code);
    ASSERT_EQ(code, 0) << log.toStdString();
    const QStringList debs = QDir(out.path()).entryList({"*.deb"});
    ASSERT_EQ(debs.size(), 1) << log.toStdString();
    const QString deb = out.filePath(debs.first());

    const QString listing = output("dpkg-deb", {"-c", deb});
    for (const char* path : {"./usr/lib/zorvia/zorvia", "./usr/lib/zorvia/iInter.dll",
                             "./usr/bin/zorvia -> ", "./usr/share/applications/zorvia.desktop",
                             "./usr/share/icons/hicolor/16x16/apps/zorvia.png",
                             "./usr/share/icons/hicolor/48x48/apps/zorvia.png",
                             "./usr/share/icons/hicolor/256x256/apps/zorvia.png"})
        EXPECT_TRUE(listing.contains(QString::fromLatin1(path))) << path << "\n"
                                                                 << listing.toStdString();

    const QString depends = output("dpkg-deb", {"-f", deb, "Depends"});
    for (const char* package :
         {"libqt6webenginecore6", "libqt6widgets6", "qt6-translations-l10n", "fonts-noto-cjk"})
        EXPECT_TRUE(depends.contains(QString::fromLatin1(package)))
            << package << ": " << depends.toStdString();
}

} // namespace
