#pragma once

#include "net/net_tcp_client.h"
#include "text/ansi.h"

#include <QDialog>

class QShowEvent;
class QTreeWidget;

namespace zorvia {

// The download window: one row with a game's title and the progress of its
// transfer. Closing it only hides it; it lives as long as its owner.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 510;
    static constexpr int kClientHeight = 297;
    // Time limits of a download, in milliseconds: making the connection,
    // and each wait for data from the portal.
    static constexpr int kConnectTimeoutMs = 10000;
    static constexpr int kReadTimeoutMs = 30000;
    void setTimeLimits(int connectMs, int readMs);

    // Creates the window owned by `owner`; its create handler runs.
    explicit TForm2(QWidget* owner);
    ~TForm2() override;

    void FormCreate();
    // Appends the window's row: title and the status "请稍后...".
    void AddDownloadItem(const AnsiString& title);
    // Fetches path (a file of the portal host, without its leading "/") into
    // the program's flash folder. True when the transfer ran to its end,
    // false when the portal refused it (the window then shows "下载失败").
    // Other failures are raised; a file cut short by one is removed.
    bool DownloadGame(const AnsiString& path);

    // The status text of the row, empty without a row.
    QString statusText() const;

    QTreeWidget* ListView1 = nullptr;
    TNetTCPClient NetTCPClient1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setStatus(const QString& text);
    // Sends the request on the connected client and receives the file.
    bool transfer(const AnsiString& path, const AnsiString& fileName);

    bool placed_ = false;
    int connectTimeoutMs_ = kConnectTimeoutMs;
    int readTimeoutMs_ = kReadTimeoutMs;
};

// The most recent download window.
extern TForm2* Form2;

} // namespace zorvia
