#include <QApplication>
#include <cstdio>

#include "tools/gallery/Gallery.h"

// symbol-gallery OUTPUT.png: writes one sheet with every symbol in every look.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: symbol-gallery OUTPUT.png\n");
        return 2;
    }
    Gallery gallery;
    AddFirstSymbolSet(gallery);
    AddSecondSymbolSet(gallery);
    const QImage sheet = gallery.Render();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "symbol-gallery: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
