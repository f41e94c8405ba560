#pragma once

#include "skin/skin_model.h"
#include "skin/skin_model_build.h"
#include "text/ansi.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace zorvia {

// The loading side of a window's skin component: the stored skin it carries
// (the SkinStream property), the skin file it may load at run time, and the
// skin model built from them.
class TSkinData {
public:
    using Bytes = std::vector<std::uint8_t>;

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

    bool Loaded() const { return model_.Loaded; }
    const skin::SkinModel& Model() const { return model_; }

private:
    Bytes stored_;
    AnsiString skinFile_;
    skin::SkinModel model_;
    std::function<void()> refresh_;
    std::function<skin::SkinEnvironment()> environment_ = &skin::SkinEnvironment::current;
};

} // namespace zorvia
