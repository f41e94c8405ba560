#include "ui/main/tab_caption.h"

#include "text/dbcs.h"
#include "ui/kit/qtext.h"

namespace zorvia::ui {

QString tabCaption(const QString& title) {
    constexpr std::size_t kWholeBelow = 15;
    constexpr std::size_t kProbeIndex = 10; // byte 11, counting from 1
    const AnsiString ansi = fromQ(title);
    if (ansi.size() < kWholeBelow)
        return toQ(ansi);
    const bool trail = text::byteTypeAt(ansi, kProbeIndex) == text::ByteType::Trail;
    const qsizetype keep = trail ? 10 : 11;
    return toQ(fromQ(title.left(keep) + QStringLiteral("...")));
}

} // namespace zorvia::ui
