#include "platform/global_hot_key.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace zorvia::platform {

namespace {

constexpr std::uint16_t kModifierBits = 0xFF;
constexpr xcb_keysym_t kNumLockSym = 0xFF7F;

xcb_connection_t* connection() {
    if (qGuiApp == nullptr)
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* c) {
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem > 0 ? it.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using XcbPtr = std::unique_ptr<T, FreeDeleter>;

using KeySymbols = std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)>;

// X key symbol of a key: letters as their lower-case symbol, digits as
// themselves, F1..F12; 0 for keys without a mapping here.
xcb_keysym_t keysymOf(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 'a';
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return 0xFFBE + (key - Qt::Key_F1);
    return 0;
}

std::uint16_t maskOf(Qt::KeyboardModifiers modifiers) {
    std::uint16_t mask = 0;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

std::vector<std::uint8_t> keycodesOf(xcb_key_symbols_t* symbols, xcb_keysym_t sym) {
    std::vector<std::uint8_t> out;
    XcbPtr<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols, sym));
    for (const xcb_keycode_t* k = codes.get(); k != nullptr && *k != XCB_NO_SYMBOL; ++k)
        if (std::find(out.begin(), out.end(), *k) == out.end())
            out.push_back(*k);
    return out;
}

// The modifier mask that NumLock sets, read from the server's modifier map.
std::uint16_t numLockMask(xcb_connection_t* c, xcb_key_symbols_t* symbols) {
    const std::vector<std::uint8_t> numLock = keycodesOf(symbols, kNumLockSym);
    XcbPtr<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    if (!reply || numLock.empty())
        return XCB_MOD_MASK_2;
    const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < perModifier; ++i)
            if (std::find(numLock.begin(), numLock.end(), map[modifier * perModifier + i]) !=
                numLock.end())
                return static_cast<std::uint16_t>(1u << modifier);
    return XCB_MOD_MASK_2;
}

// The four lock-state variants of a modifier mask.
std::array<std::uint16_t, 4> variants(std::uint16_t mask, std::uint16_t numLock) {
    return {mask, static_cast<std::uint16_t>(mask | XCB_MOD_MASK_LOCK),
            static_cast<std::uint16_t>(mask | numLock),
            static_cast<std::uint16_t>(mask | XCB_MOD_MASK_LOCK | numLock)};
}

} // namespace

std::uint32_t addGlobalAtom(const char* name) {
    xcb_connection_t* c = connection();
    if (c == nullptr)
        return 0;
    XcbPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : 0;
}

int hotKeyIdFromAtom(std::uint32_t atom) {
    return static_cast<int>(atom & 0x3FFF);
}

GlobalHotKey::GlobalHotKey(Handler handler) : handler_(std::move(handler)) {}

GlobalHotKey::~GlobalHotKey() {
    for (const Grab& grab : grabs_)
        release(grab);
    if (installed_ && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool GlobalHotKey::isRegistered(int id) const {
    return std::any_of(grabs_.begin(), grabs_.end(), [id](const Grab& g) { return g.id == id; });
}

bool GlobalHotKey::registerKey(int id, QKeyCombination key) {
    xcb_connection_t* c = connection();
    const xcb_keysym_t sym = keysymOf(key.key());
    if (c == nullptr || sym == 0 || isRegistered(id))
        return false;
    const xcb_window_t root = rootWindow(c);
    KeySymbols symbols(xcb_key_symbols_alloc(c), &xcb_key_symbols_free);
    if (root == XCB_WINDOW_NONE || !symbols)
        return false;

    Grab grab{id, key, keycodesOf(symbols.get(), sym), maskOf(key.keyboardModifiers()),
              numLockMask(c, symbols.get())};
    if (grab.keycodes.empty())
        return false;
    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint8_t keycode : grab.keycodes)
        for (std::uint16_t mask : variants(grab.mask, grab.numLock))
            cookies.push_back(xcb_grab_key_checked(c, 0, root, mask, keycode, XCB_GRAB_MODE_ASYNC,
                                                   XCB_GRAB_MODE_ASYNC));
    bool ok = true;
    for (xcb_void_cookie_t cookie : cookies) {
        // BadAccess: another program holds one of the variants.
        XcbPtr<xcb_generic_error_t> error(xcb_request_check(c, cookie));
        ok = ok && !error;
    }
    if (!ok) {
        release(grab);
        return false;
    }
    grabs_.push_back(std::move(grab));
    if (!installed_) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        installed_ = true;
    }
    return true;
}

bool GlobalHotKey::unregisterKey(int id) {
    const auto it =
        std::find_if(grabs_.begin(), grabs_.end(), [id](const Grab& g) { return g.id == id; });
    if (it == grabs_.end())
        return false;
    release(*it);
    grabs_.erase(it);
    return true;
}

void GlobalHotKey::release(const Grab& grab) const {
    xcb_connection_t* c = connection();
    if (c == nullptr)
        return;
    const xcb_window_t root = rootWindow(c);
    for (std::uint8_t keycode : grab.keycodes)
        for (std::uint16_t mask : variants(grab.mask, grab.numLock))
            xcb_ungrab_key(c, keycode, root, mask);
    xcb_flush(c);
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || grabs_.empty())
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    for (const Grab& grab : grabs_) {
        const std::uint16_t locks = XCB_MOD_MASK_LOCK | grab.numLock;
        if ((key->state & kModifierBits & ~locks) != grab.mask ||
            std::find(grab.keycodes.begin(), grab.keycodes.end(), key->detail) ==
                grab.keycodes.end())
            continue;
        // The handler may release keys: call it with a copy of the grab.
        if (type == XCB_KEY_PRESS && handler_) {
            const Grab hit = grab;
            handler_(hit.id, hit.key);
        }
        return true;
    }
    return false;
}

} // namespace zorvia::platform
