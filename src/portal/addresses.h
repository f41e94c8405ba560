#pragma once

#include "text/ansi.h"

namespace zorvia::portal {

// Every portal address is "http://" + host + a path.
AnsiString portalUrl(const AnsiString& siteHost, const AnsiString& path);

inline constexpr const char* kStartPagePath = "/mini.php";
inline constexpr const char* kLoginPanelPath = "/mini.php?action=login";
inline constexpr const char* kCategoryPath = "/mini.php?catid=";
inline constexpr const char* kGamePath = "/mini.php?itemid=";
inline constexpr const char* kSearchPath = "/mini.php?keyword=";
inline constexpr const char* kUpgradePath = "/wendo/";

} // namespace zorvia::portal
