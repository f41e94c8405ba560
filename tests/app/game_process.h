#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace zorvia::test {

inline const QString kTitle = QStringLiteral("Zorvia游戏盒子");

// Runs a program to its end (at most two minutes); its output and errors.
QString output(const QString& program, const QStringList& args, int* exitCode = nullptr);

// Visible windows titled exactly `title` that belong to process `pid`.
QStringList windowsOf(qint64 pid, const QString& title = kTitle);

// Waits, processing events, until `condition` holds; false after `ms`.
bool waitFor(const std::function<bool()>& condition, int ms);

// The environment of a game box run: an unreachable portal and the home
// and data folders under `home`.
QProcessEnvironment gameEnvironment(const QString& home);

// A program folder of its own: a copy of the game box, its driver and
// database.
class ProgramFolderCopy {
public:
    ProgramFolderCopy();
    bool isValid() const { return valid_; }
    QString executable() const { return folder_.filePath("zorvia"); }
    QString home() const { return folder_.filePath("home"); }

private:
    QTemporaryDir folder_;
    bool valid_ = false;
};

// A game box process (started through `prefix`, a program and its
// arguments, when given) that is killed when the object goes.
class GameBox {
public:
    GameBox(const QString& program, const QStringList& prefix, const QProcessEnvironment& env);
    ~GameBox();
    GameBox(const GameBox&) = delete;
    GameBox& operator=(const GameBox&) = delete;

    QProcess& process() { return process_; }
    qint64 pid() const { return process_.processId(); }
    // Waits (at most a minute) until the main window is on the screen.
    bool showsWindow();

private:
    QProcess process_;
};

} // namespace zorvia::test
