// The game box in a notification area that speaks the D-Bus StatusNotifier
// protocol: a private session bus with a stand-in for the desktop's watcher
// and host, the game box's icon driven through the bus as a host drives it.
#include "app/game_process.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

// The desktop's side: a watcher with a host registered, which records the
// icons that register with it.
class Watcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return items_; }

public slots:
    void RegisterStatusNotifierItem(const QString& service) { items_ << service; }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    QStringList items_;
};

// A session bus of the test's own, ended with the object.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(kName);
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    QString address() const { return address_; }
    QDBusConnection connection() const { return QDBusConnection::connectToBus(address_, kName); }

private:
    static constexpr auto kName = "status-notifier-test";
    QProcess daemon_;
    QString address_;
};

TEST(StatusNotifier, ActivationShowsTheWindowAndTheHostGetsTheMenu) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
    QDBusConnection connection = bus.connection();
    ASSERT_TRUE(connection.isConnected());
    Watcher watcher;
    ASSERT_TRUE(connection.registerService("org.kde.StatusNotifierWatcher"));
    ASSERT_TRUE(connection.registerObject("/StatusNotifierWatcher", &watcher,
                                          QDBusConnection::ExportAllContents));

    ProgramFolderCopy folder;
    ASSERT_TRUE(folder.isValid());
    auto env = gameEnvironment(folder.home());
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    GameBox game(folder.executable(), {}, env);
    ASSERT_TRUE(game.showsWindow());
    ASSERT_TRUE(waitFor([&] { return !watcher.items().isEmpty(); }, 10000))
        << "the icon did not register with the watcher";

    QDBusInterface item(watcher.items().first(), "/StatusNotifierItem",
                        "org.kde.StatusNotifierItem", connection);
    // The host shows the icon's menu itself: the icon names one.
    EXPECT_NE(item.property("Menu").value<QDBusObjectPath>().path(), QString("/NO_DBUSMENU"));

    // Hidden by the boss key; a plain activation of the icon brings it back.
    output("xdotool", {"key", "--clearmodifiers", "ctrl+d"});
    ASSERT_TRUE(waitFor([&] { return windowsOf(game.pid()).isEmpty(); }, 5000));
    item.call("Activate", 0, 0);
    EXPECT_TRUE(waitFor([&] { return !windowsOf(game.pid()).isEmpty(); }, 10000))
        << "the activation did not show the window";
}

} // namespace
} // namespace zorvia::test

#include "status_notifier_test.moc"
