#include "ui/kit/ui_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace zorvia::ui {

QFont uiFont() {
    QFont font;
    const QStringList families = QFontDatabase::families();
    for (const char* name :
         {"Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Micro Hei", "Droid Sans Fallback"}) {
        if (families.contains(QString::fromLatin1(name))) {
            font.setFamily(QString::fromLatin1(name));
            break;
        }
    }
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace zorvia::ui
