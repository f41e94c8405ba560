#include "app/game_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <signal.h>

namespace zorvia::test {

QString output(const QString& program, const QStringList& args, int* exitCode) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        p.kill();
    if (exitCode != nullptr)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

QStringList windowsOf(qint64 pid, const QString& title) {
    const QString out = output("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid),
                                           "--name", "^" + title + "$"});
    return out.isEmpty() ? QStringList() : out.split('\n');
}

bool waitFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(200);
    }
    return true;
}

QProcessEnvironment gameEnvironment(const QString& home) {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("ZORVIA_SITE_HOST", "127.0.0.1:9");
    env.insert("HOME", home);
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_CACHE_HOME", home + "/cache");
    env.remove("ZORVIA_WEBENGINE_DIR");
    return env;
}

ProgramFolderCopy::ProgramFolderCopy() {
    const QString bin = QCoreApplication::applicationDirPath() + "/";
    valid_ = folder_.isValid();
    for (const char* file : {"zorvia", "iInter.dll", "wendora.db"})
        valid_ = valid_ && QFile::copy(bin + file, folder_.filePath(file));
    valid_ = valid_ && QDir(folder_.path()).mkdir("flash");
}

GameBox::GameBox(const QString& program, const QStringList& prefix,
                 const QProcessEnvironment& env) {
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (prefix.isEmpty())
        process_.start(program, {});
    else
        process_.start(prefix.first(), prefix.mid(1) << program);
}

GameBox::~GameBox() {
    if (process_.state() != QProcess::NotRunning) {
        ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
    }
}

bool GameBox::showsWindow() {
    return waitFor([this] { return !windowsOf(pid()).isEmpty(); }, 60000);
}

} // namespace zorvia::test
