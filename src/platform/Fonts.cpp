#include "Fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

namespace {

// IPA Gothic comes with the program's package, so every machine draws the same face
// with the same metrics; DejaVu only where it is missing.
QStringList facesFor(const QString& family) {
    const QString ipaP = QStringLiteral("IPAPGothic");
    const QString ipa = QStringLiteral("IPAGothic");
    if (family == kPGothic) return {ipaP, ipa, QStringLiteral("DejaVu Sans")};
    if (family == kGothic || family == kTerminal) return {ipa, QStringLiteral("DejaVu Sans Mono")};
    return {};
}

} // namespace

QString designFace(const QString& family) {
    // Asked for every panel of every window: the fonts installed do not change while
    // the program runs.
    static QHash<QString, QString> chosen;
    const auto known = chosen.constFind(family);
    if (known != chosen.constEnd()) return *known;
    QString face = family;
    for (const QString& candidate : facesFor(family)) {
        if (QFontDatabase::hasFamily(candidate)) {
            face = candidate;
            break;
        }
    }
    chosen.insert(family, face);
    return face;
}

QFont designFont(const QString& family, int pixelHeight, bool bold) {
    QFont f(designFace(family));
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    if (family == kTerminal || family == kGothic) {
        f.setStyleHint(QFont::Monospace);
        f.setFixedPitch(true);
    }
    return f;
}
