#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace zorvia::test {

// Time limit for a child run of a test program.
constexpr int kChildTimeoutMs = 300000;

// This test program, linked into `folder` with the program folder's driver,
// game database and Flash player (unless `withPlayer` is false) and an empty
// flash folder, started there on the tests `filter` names, with
// `environment` ("NAME=value") added to its own. Given an `ownTree` while
// this runs as root, that tree becomes the child's own and the child runs as
// a user who is not root (nobody).
std::unique_ptr<QProcess> startChild(const QString& folder, const QString& filter,
                                     const QStringList& environment, bool withPlayer = true,
                                     const QString& ownTree = {});

// Waits (bounded by kChildTimeoutMs) until the child has ended.
bool waitForChild(QProcess& child);

} // namespace zorvia::test
