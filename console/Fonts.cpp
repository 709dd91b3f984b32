#include "console/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace console {

namespace {

// First installed family of the list that can draw Cyrillic; the last entry is
// the generic fallback the font matcher resolves itself.
QString PickFamily(const QStringList& candidates) {
    const QStringList installed = QFontDatabase::families(QFontDatabase::Cyrillic);
    for (const QString& family : candidates) {
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    }
    return candidates.back();
}

QFont MakeFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    // Narrow metric-compatible faces keep the texts inside their fixed boxes.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

}  // namespace

QString SansFamily() {
    // Liberation Sans has the widths of the classic UI face, so captions fit
    // the boxes they were laid out for; DejaVu Sans is wider but always there.
    static const QString family =
        PickFamily({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial",
                    "DejaVu Sans", "Nimbus Sans", "sans-serif"});
    return family;
}

QString SerifFamily() {
    static const QString family = PickFamily(
        {"Times New Roman", "Liberation Serif", "DejaVu Serif", "Nimbus Roman", "serif"});
    return family;
}

QFont SansFont(int pixelHeight, bool bold) {
    return MakeFont(SansFamily(), pixelHeight, bold);
}

QFont SerifFont(int pixelHeight, bool bold) {
    return MakeFont(SerifFamily(), pixelHeight, bold);
}

}  // namespace console
