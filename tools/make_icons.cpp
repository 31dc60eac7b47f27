// Renders the program's icon for the desktop's icon theme: FOLDER/NxN/apps/pixo-rahmler.png for
// each size given. Runs at build time; needs no display.

#include <QDir>
#include <QString>
#include <cstdio>

#include "gui/app/ProgramIcon.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "Aufruf: %s ORDNER GRÖSSE...\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0 || size > 1024) return 2;
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(apps) ||
            !pr::ProgramIcon::render(size).save(apps + QStringLiteral("/pixo-rahmler.png"))) {
            std::fprintf(stderr, "%s: %dx%d nicht geschrieben\n", argv[0], size, size);
            return 1;
        }
    }
    return 0;
}
