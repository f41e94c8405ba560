// The transfer of a game file from the portal into the flash folder.
#include "portal/flash_folder.h"
#include "portal/game_download.h"
#include "text/codepage.h"
#include "text/dbcs.h"
#include "ui/down/form2.h"
#include "ui/kit/message_box.h"
#include "ui/main/globals.h"

#include <QCoreApplication>
#include <QPointer>

namespace zorvia {

namespace {

// The row is repainted at most this often while the body arrives.
constexpr auto kRepaintInterval = std::chrono::milliseconds(16);

constexpr char kNotAMovie[] = "这不是 Flash 游戏，无法下载";

} // namespace

void TForm2::showProgress(std::int64_t counter, std::int64_t length, bool now) {
    const auto time = std::chrono::steady_clock::now();
    if (!now && (counter == shownCounter_ || time - lastShown_ < kRepaintInterval))
        return;
    lastShown_ = time;
    shownCounter_ = counter;
    setStatus(QString::number(counter) + '/' + QString::number(length),
              length > 0 ? double(counter) / double(length) : -1);
}

bool TForm2::DownloadGame(const AnsiString& path) {
    const AnsiString name = text::splitstring(path, '/');
    const portal::FlashFolder folder(dataFolder_ + "flash");
    folder.ensureExists();

    const QPointer<TForm2> alive(this);
    bool notAMovie = false;
    std::int64_t counter = 0;
    std::int64_t total = 0;
    shownCounter_ = -1;
    const auto idle = [this, &alive, &counter, &total] {
        // The last count of a burst shows while the portal pauses.
        if (alive && counter > 0)
            showProgress(counter, total, false);
        // What runs now must not hold the transfer up with a box.
        const ui::TransferRunning running;
        QCoreApplication::processEvents();
        return !alive.isNull();
    };
    portal::GameTransfer transfer(
        NetTCPClient1, limits_,
        {[this, &counter, &total](std::int64_t done, std::int64_t length) {
             counter = done;
             total = length;
             showProgress(done, length, false);
         },
         idle});
    try {
        if (!transfer.begin(SiteHost, path)) {
            ui::showMessage(this, text::utf8ToAnsi("网络错误或未找到文件"));
            if (alive) {
                setStatus(QStringLiteral("下载失败"));
                markFailed();
            }
            return false;
        }
        portal::PartialGameFile file(folder, name);
        transfer.receiveBody(file.stream());
        // Only a Flash movie is kept: anything else goes with its temporary
        // file here, before the box below says so.
        notAMovie = !portal::isMovieFile(transfer.bodyStart());
        // The game is on the disk under its name before the row says so.
        if (!notAMovie && !file.commit(idle, limits_.sliceMs))
            return false; // the window went with its owner
    } catch (const portal::TransferAbandoned&) {
        return false; // the window went with its owner: nothing of it is touched
    } catch (...) {
        if (counter > 0)
            showProgress(counter, transfer.length(), true);
        markFailed();
        try {
            NetTCPClient1.Disconnect();
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
    showProgress(counter, transfer.length(), true);
    if (notAMovie) {
        ui::showMessage(this, text::utf8ToAnsi(kNotAMovie));
        if (alive) {
            setStatus(QStringLiteral("下载失败"));
            markFailed();
        }
        return false;
    }
    setStatus(QStringLiteral("下载完成"), 1.0);
    return true;
}

} // namespace zorvia
