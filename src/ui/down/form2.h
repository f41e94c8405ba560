#pragma once

#include "net/net_tcp_client.h"
#include "portal/game_download.h"
#include "skin/skin_data.h"
#include "text/ansi.h"

#include <chrono>

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
    // Limits of the exchange with the portal (connect, head, waits for data,
    // the time slice after which pending events run).
    void setLimits(const portal::DownloadLimits& limits) { limits_ = limits; }

    // Creates the window owned by `owner`; its create handler runs. Games go
    // to dataFolder + "flash" (dataFolder ends in "/"): the owner's folder
    // of the game database and the flash folder.
    TForm2(QWidget* owner, AnsiString dataFolder);
    ~TForm2() override;

    void FormCreate();
    // Appends the window's row: title and the status "请稍后...".
    void AddDownloadItem(const AnsiString& title);
    // Fetches path (a file of the portal host, without its leading "/") into
    // the flash folder. True when the transfer ran to its end,
    // false when the portal refused it or the exchange failed in its head,
    // or what arrived is no Flash movie (then no file stays; the window
    // shows "下载失败" in each case), or the window went away meanwhile.
    // Other failures are raised. The file gets its name only when the whole
    // body has arrived; until then it is a temporary file, removed on
    // failure. Pending events run at least every sliceMs, waits included.
    bool DownloadGame(const AnsiString& path);

    // The status text of the row, empty without a row.
    QString statusText() const;
    // Whether the row shows a failed transfer.
    bool statusFailed() const;

    QTreeWidget* ListView1 = nullptr;
    TNetTCPClient NetTCPClient1;
    // The window's own skin component: inactive, with the main window's skin.
    TSkinData SkinData1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The status text and the bar's fraction (none: no bar).
    void setStatus(const QString& text, double fraction = -1);
    // The row keeps its text and shows that the transfer failed.
    void markFailed();
    // Shows a progress text, at most about 60 times a second unless `now`;
    // a count already shown is not shown again.
    void showProgress(std::int64_t counter, std::int64_t length, bool now);

    AnsiString dataFolder_;
    bool placed_ = false;
    portal::DownloadLimits limits_;
    std::chrono::steady_clock::time_point lastShown_;
    std::int64_t shownCounter_ = -1;
};

// The most recent download window.
extern TForm2* Form2;

} // namespace zorvia
