#pragma once

#include <QAbstractNativeEventFilter>
#include <QKeyCombination>

#include <cstdint>
#include <functional>
#include <vector>

namespace zorvia::platform {

// Adds `name` to the display's atom table and returns the atom; 0 when the
// program runs without an X display.
std::uint32_t addGlobalAtom(const char* name);

// The hot-key identifier derived from an atom. X atoms are small positive
// numbers handed out from 1 upwards, not a block at 0xC000, so the atom is
// kept as it is and only folded into the identifier range 0..0x3FFF (which
// it never leaves on a real server).
int hotKeyIdFromAtom(std::uint32_t atom);

// System-wide hot keys on X11: each key is a passive grab on the root window
// (with the NumLock and CapsLock variants, so the key works whatever the
// lock state). A key press of a registered key calls the handler with the
// key's identifier and key combination. Keys are letters, digits and
// F1..F12 with any of Ctrl, Alt, Shift and Meta. Without an X display, or
// when another program holds the key, registering fails and the key is
// absent. Destroying the object releases every key.
class GlobalHotKey : public QAbstractNativeEventFilter {
public:
    using Handler = std::function<void(int id, QKeyCombination key)>;

    explicit GlobalHotKey(Handler handler);
    ~GlobalHotKey() override;
    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

    // Grabs `key` under id; false when the key cannot be had (no display,
    // unknown key, id in use, or held by another program).
    bool registerKey(int id, QKeyCombination key);
    // Releases the key registered under id; false when there is none.
    bool unregisterKey(int id);
    bool isRegistered(int id) const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        int id;
        QKeyCombination key;
        std::vector<std::uint8_t> keycodes;
        std::uint16_t mask;    // the modifiers as X modifier bits
        std::uint16_t numLock; // the modifier bit NumLock sets
    };
    void release(const Grab& grab) const;

    Handler handler_;
    std::vector<Grab> grabs_;
    bool installed_ = false;
};

} // namespace zorvia::platform
