// Renders the game box's icon into an icon theme tree:
// <folder>/<size>x<size>/apps/zorvia.png for each installed size.
#include "ui/kit/app_icon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: appicons <folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = root.filePath(QStringLiteral("%1x%1/apps").arg(size));
        if (!QDir().mkpath(folder) ||
            !zorvia::ui::renderAppIcon(size).save(folder + QStringLiteral("/zorvia.png"))) {
            std::fprintf(stderr, "appicons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
