#pragma once

#include "skin/skin_model.h"
#include "skin/skin_model_build.h"
#include "skin/skin_types.h"
#include "text/ansi.h"

#include <QFont>
#include <QImage>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class QWidget;

namespace zorvia {

class TSkinControl;
class TWinSkinForm;

// A window's skin component: its published properties and events, the stored
// skin it carries (the SkinStream property), the skin file it may load at run
// time, and the skin model built from them. When its window definition has
// been read (Loaded) it registers with the process's skin manager.
class TSkinData {
public:
    using Bytes = std::vector<std::uint8_t>;

    TSkinData();
    ~TSkinData();
    TSkinData(const TSkinData&) = delete;
    TSkinData& operator=(const TSkinData&) = delete;

    // The form that owns the component (none for a free component).
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QWidget* Owner() const { return owner_; }

    // End of reading the window definition: registers the component with the
    // manager and starts skinning.
    void Loaded();
    // True until Loaded() ran: property writes are only stored.
    bool Loading() const { return loading_; }

    bool Active() const { return active_; }
    void SetActive(bool value);

    int DisableTag = 99;
    TSkinControls SkinControls = DefaultSkinControls();
    TSkinOptions Options = {TSkinOption::xoPreview, TSkinOption::xoToolbarBK,
                            TSkinOption::xoCaptionButtonHint};
    TSkinFormType SkinFormtype = TSkinFormType::sfMainform;
    bool MenuUpdate = true;
    bool MenuMerge = false;

    // Class name to skinner kind map, "Class=kind" per line.
    const std::vector<AnsiString>& Skin3rd() const { return skin3rd_; }
    void SetSkin3rd(const std::vector<AnsiString>& lines) { skin3rd_ = lines; }
    static const std::vector<AnsiString>& DefaultSkin3rd();

    AnsiString Version() const { return "1.0.0.0"; }
    void SetVersion(const AnsiString&) {}

    static TSkinControls DefaultSkinControls();

    // Events; none is assigned by the program itself.
    std::function<void(TSkinData& sender, const AnsiString& aName, bool& DoSkin)> OnFormSkin;
    std::function<void(TSkinData& sender)> OnSkinChanged;
    std::function<void(TWinSkinForm& sender, TSkinData& skinData, QWidget* form, QWidget* control,
                       const AnsiString& controlClass, TSkinControl*& skinnedControl)>
        OnSkinControl;
    std::function<void(QWidget* sender, QWidget* ahwnd, const AnsiString& aName)> OnBeforeSkinForm;
    std::function<void(QWidget* sender, QWidget* ahwnd, const AnsiString& aName)> OnAfterSkinForm;

    // The caption font, made from the desktop's font at the end of loading.
    const QFont& TitleFont() const { return titleFont_; }
    // The application's small icon on magenta (the transparency key).
    const QImage& CaptionIcon() const { return captionIcon_; }

    // Largest skin file read (a stored skin is far smaller).
    static constexpr std::uintmax_t MaxSkinFileSize = 64 * 1024 * 1024;

    // The SkinStream property as the windows store it: a 32-bit
    // little-endian length, then that many bytes of stored skin. The stored
    // skin is copied and loaded at once. False when the value is cut short
    // (nothing changes then) or the skin does not load.
    bool ReadSkinStream(std::span<const std::uint8_t> value);
    // The property value to write: empty when no stored skin is held.
    Bytes WriteSkinStream() const;

    // Replaces the stored skin (the container size, then the packed stream)
    // without loading it.
    void SetStoredSkin(Bytes stored) { stored_ = std::move(stored); }
    const Bytes& StoredSkin() const { return stored_; }

    // Decodes the stored skin and rebuilds the model. False when the
    // container cannot be read; the previous model then stays but Loaded()
    // is false.
    bool LoadSkinStore();

    // Setting a skin file that exists replaces the stored skin by the file's
    // bytes, loads it and calls the refresh hook; a path that does not exist
    // changes nothing but the property's text.
    void SetSkinFile(const AnsiString& path);
    const AnsiString& SkinFile() const { return skinFile_; }
    // Called after a skin file was loaded, so that skinned windows can be
    // refreshed.
    void SetRefreshHook(std::function<void()> hook) { refresh_ = std::move(hook); }

    // Status text of the stored skin at run time.
    AnsiString SkinStore() const { return "(none)"; }

    // Where system colours and metrics come from (the GUI palette by
    // default).
    void SetEnvironment(std::function<skin::SkinEnvironment()> provider) {
        environment_ = std::move(provider);
    }

    bool SkinLoaded() const { return model_.Loaded; }
    const skin::SkinModel& Model() const { return model_; }

private:
    void makeCaptionIcon();

    QWidget* owner_ = nullptr;
    bool loading_ = true;
    bool active_ = false;
    std::vector<AnsiString> skin3rd_ = DefaultSkin3rd();
    QFont titleFont_;
    QImage captionIcon_;
    Bytes stored_;
    AnsiString skinFile_;
    skin::SkinModel model_;
    std::function<void()> refresh_;
    std::function<skin::SkinEnvironment()> environment_ = &skin::SkinEnvironment::current;
};

} // namespace zorvia
