// The transfer of a game file from the portal into the flash folder.
#include "platform/program_folder.h"
#include "portal/request_head.h"
#include "portal/site_host.h"
#include "text/codepage.h"
#include "text/dbcs.h"
#include "text/exception.h"
#include "ui/down/form2.h"
#include "ui/kit/message_box.h"
#include "ui/main/globals.h"

#include <QCoreApplication>
#include <QPointer>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace zorvia {

namespace {

constexpr std::int64_t kBlockSize = 256;
constexpr std::string_view kLengthHeader = "Content-Length: ";

// The announced length of a head line that names it: the line without its
// first 16 characters, read as a decimal integer.
std::int64_t announcedLength(const AnsiString& line) {
    const std::string_view rest = std::string_view(line).substr(kLengthHeader.size());
    std::int64_t value = 0;
    const char* begin = rest.data();
    const char* end = begin + rest.size();
    if (!rest.empty() && *begin == '+')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (rest.empty() || begin == end || error != std::errc() || stop != end)
        throw EConvertError::notValid(rest, "integer value");
    return value;
}

// The file being written: removed again unless the transfer is kept.
class PartialFile {
public:
    explicit PartialFile(const AnsiString& path)
        : path_(path), stream_(std::make_unique<TFileStream>(path, TFileStream::Mode::Create)) {}
    ~PartialFile() {
        if (!stream_)
            return;
        stream_.reset();
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    TFileStream& stream() { return *stream_; }
    // Closes the file and keeps it.
    void keep() { stream_.reset(); }

private:
    AnsiString path_;
    std::unique_ptr<TFileStream> stream_;
};

} // namespace

bool TForm2::DownloadGame(const AnsiString& path) {
    const AnsiString name = text::splitstring(path, '/');
    const AnsiString folder = platform::dataFolder() + "flash";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        std::filesystem::create_directory(folder, ec);

    const portal::HostPort portal = portal::splitHostPort(SiteHost);
    NetTCPClient1.SetHost(portal.host);
    NetTCPClient1.SetPort(portal.port);
    NetTCPClient1.SetReadTimeout(readTimeoutMs_);
    NetTCPClient1.Connect(connectTimeoutMs_);
    try {
        return transfer(path, folder + "/" + name);
    } catch (...) {
        try {
            NetTCPClient1.Disconnect();
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
}

bool TForm2::transfer(const AnsiString& path, const AnsiString& fileName) {
    if (NetTCPClient1.Connected()) {
        for (const AnsiString& line : portal::requestHeadLines("/" + path, SiteHost))
            NetTCPClient1.WriteLine(line);
        NetTCPClient1.WriteLine("");
    }

    const AnsiString status = NetTCPClient1.ReadLine("\n");
    if (status != "HTTP/1.1 200 OK") {
        NetTCPClient1.Disconnect();
        ui::showMessage(this, text::utf8ToAnsi("网络错误或未找到文件"));
        setStatus(QStringLiteral("下载失败"));
        return false;
    }

    std::int64_t length = 0;
    for (AnsiString line = NetTCPClient1.ReadLine("\n"); !line.empty();
         line = NetTCPClient1.ReadLine("\n")) {
        if (line.find(kLengthHeader) != AnsiString::npos)
            length = announcedLength(line);
    }

    PartialFile file(fileName);
    const QPointer<TForm2> alive(this);
    std::int64_t counter = 0;
    while (NetTCPClient1.Connected()) {
        counter += kBlockSize;
        if (counter < length)
            NetTCPClient1.ReadStream(file.stream(), kBlockSize, false);
        else
            NetTCPClient1.ReadStream(file.stream(), -1, true);
        setStatus(QString::number(counter) + '/' + QString::number(length));
        QCoreApplication::processEvents();
        if (!alive)
            return false; // the window went with its owner: the transfer ends unfinished
    }
    file.keep();
    setStatus(QStringLiteral("下载完成"));
    return true;
}

} // namespace zorvia
