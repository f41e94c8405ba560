#include "skin/skin_data.h"

#include "skin/quick_ini.h"
#include "skin/skin_manage.h"
#include "skin/skin_message.h"
#include "skin/skin_reader.h"
#include "text/file_path.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace zorvia {

namespace {

constexpr int kRequestDelayMs = 250;
constexpr QSize kSmallIcon(16, 16);

} // namespace

TSkinData::TSkinData() = default;

TSkinData::~TSkinData() {
    if (TSkinManage* manager = TSkinManage::instance())
        manager->UnregisterSkinData(*this);
}

TSkinControls TSkinData::DefaultSkinControls() {
    TSkinControls all = TSkinControls::allUpTo(TSkinControlType::xcReportDesigner);
    all.exclude(TSkinControlType::xcMenuItem);
    all.exclude(TSkinControlType::xcReportDesigner);
    return all;
}

void TSkinData::Loaded() {
    if (!loading_)
        return;
    loading_ = false;
    // The scroll-bar information every scroll-bar skinner needs is always
    // at hand here, so xcScrollbar stays in SkinControls.
    TSkinManage& manager = TSkinManage::create();
    manager.RegisterSkinData(*this);
    // The desktop's caption font: the application font, bold.
    titleFont_ = QGuiApplication::font();
    titleFont_.setBold(true);

    if (SkinFormtype != TSkinFormType::sfMainform) {
        manager.activate();
        if (owner_ && active_)
            manager.SkinWindow(owner_->window(), false);
        return;
    }
    manager.InstallWindowHook();
    if (active_) {
        if (!SkinLoaded())
            active_ = false;
        else
            manager.PostRequest(TSkinManage::SkinRequest, kRequestDelayMs, this);
    }
    if (SkinControls.has(TSkinControlType::xcMainMenu))
        SkinControls.exclude(TSkinControlType::xcMenuItem);
    else
        SkinControls.exclude(TSkinControlType::xcSystemMenu);
    makeCaptionIcon();
}

void TSkinData::makeCaptionIcon() {
    captionIcon_ = QImage(kSmallIcon, QImage::Format_RGB32);
    captionIcon_.fill(QColor(255, 0, 255));
    const QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull())
        return;
    QPainter painter(&captionIcon_);
    painter.drawPixmap(QRect(QPoint(0, 0), kSmallIcon), icon.pixmap(kSmallIcon));
}

void TSkinData::SetActive(bool value) {
    if (value == active_)
        return;
    if (loading_) {
        active_ = value;
        return;
    }
    TSkinManage* manager = TSkinManage::instance();
    switch (SkinFormtype) {
    case TSkinFormType::sfMainform:
        if (value && !SkinLoaded())
            return;
        active_ = value;
        if (!manager)
            return;
        if (value) {
            manager->PostRequest(TSkinManage::SkinRequest, kRequestDelayMs, this);
            manager->setState(TSkinManage::Running);
        } else {
            manager->PostRequest(TSkinManage::UnskinRequest, kRequestDelayMs, this);
        }
        break;
    case TSkinFormType::sfOnlyThisForm:
        active_ = value;
        if (!manager)
            return;
        if (!value)
            manager->PostRequest(TSkinManage::UnskinRequest, kRequestDelayMs, this);
        else if (SkinLoaded())
            manager->PostRequest(TSkinManage::SkinRequest, kRequestDelayMs, this);
        break;
    default:
        active_ = value;
        break;
    }
}

bool TSkinData::ReadSkinStream(std::span<const std::uint8_t> value) {
    if (value.size() < 4)
        return false;
    const std::uint32_t length = value[0] | (value[1] << 8) | (value[2] << 16) |
                                 (static_cast<std::uint32_t>(value[3]) << 24);
    if (length > value.size() - 4)
        return false;
    stored_.assign(value.begin() + 4, value.begin() + 4 + length);
    return LoadSkinStore();
}

TSkinData::Bytes TSkinData::WriteSkinStream() const {
    if (stored_.empty())
        return {};
    Bytes out;
    out.reserve(stored_.size() + 4);
    const auto length = static_cast<std::uint32_t>(stored_.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    out.insert(out.end(), stored_.begin(), stored_.end());
    return out;
}

bool TSkinData::LoadSkinStore() {
    model_.Loaded = false;
    TSkinReader reader;
    if (!reader.ReadStore(stored_))
        return false;
    TQuickIni ini;
    TSkinReader::Bytes work;
    AnsiString name;
    reader.ExtractEntryContaining(".ini", work, name);
    ini.LoadFromStream(work);
    model_ =
        skin::BuildSkinModel(ini, reader, environment_ ? environment_() : skin::SkinEnvironment{});
    return true;
}

void TSkinData::SetSkinFile(const AnsiString& path) {
    skinFile_ = path;
    const std::filesystem::path file = text::fileSystemPath(path);
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(file, error))
        return;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > MaxSkinFileSize) {
        skin::showMessage("Cannot read the skin file " + path);
        return;
    }
    std::ifstream in(file, std::ios::binary);
    Bytes bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        skin::showMessage("Cannot read the skin file " + path);
        return;
    }
    stored_ = std::move(bytes);
    LoadSkinStore();
    if (TSkinManage* manager = TSkinManage::instance(); manager && !loading_)
        manager->skinFileLoaded(*this);
    if (refresh_)
        refresh_();
}

} // namespace zorvia
