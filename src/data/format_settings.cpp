#include "data/format_settings.h"

namespace zorvia::data {

FormatSettings& formatSettings() {
    static FormatSettings settings;
    return settings;
}

} // namespace zorvia::data
