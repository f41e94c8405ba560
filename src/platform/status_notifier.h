#pragma once

namespace zorvia::platform {

// True when the desktop's notification area speaks the D-Bus
// StatusNotifier protocol (a watcher on the session bus with a host
// registered): the tray icon then lives there instead of in an XEmbed tray,
// reports a plain activation instead of double clicks, and the host shows
// the icon's menu itself.
bool statusNotifierTrayAvailable();

} // namespace zorvia::platform
