#include "Fonts.h"

#include <QStringList>

namespace {

// IPA Gothic comes with the program's package, so every machine draws the same face
// with the same metrics; DejaVu only where it is missing.
QStringList facesFor(const QString& family) {
    const QString ipaP = QStringLiteral("IPAPGothic");
    const QString ipa = QStringLiteral("IPAGothic");
    if (family == kPGothic) return {ipaP, ipa, QStringLiteral("DejaVu Sans")};
    if (family == kGothic || family == kTerminal) return {ipa, QStringLiteral("DejaVu Sans Mono")};
    return {family};
}

} // namespace

QFont designFont(const QString& family, int pixelHeight, bool bold) {
    QFont f;
    // Qt takes the first of these it has, and only then asks fontconfig, whose guess
    // for a name it does not have follows whatever the desktop installed. Resolved when
    // first drawn or measured, so building a window looks nothing up.
    f.setFamilies(facesFor(family));
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    if (family == kTerminal || family == kGothic) {
        f.setStyleHint(QFont::Monospace);
        f.setFixedPitch(true);
    }
    return f;
}
