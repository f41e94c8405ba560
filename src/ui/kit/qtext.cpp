#include "ui/kit/qtext.h"

#include "text/codepage.h"
#include "text/file_path.h"

namespace zorvia::ui {

QString toQ(const AnsiString& ansi) {
    const std::u16string wide = text::ansiToUtf16(ansi);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

AnsiString fromQ(const QString& text) {
    return text::utf16ToAnsi(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

QString pathToQ(const AnsiString& path) {
    return QString::fromStdString(text::toFileSystem(path));
}

} // namespace zorvia::ui
