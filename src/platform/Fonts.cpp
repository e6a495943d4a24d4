#include "Fonts.h"

#include <QStringList>

void registerFontSubstitutions() {
    const QString ipaP = QStringLiteral("IPAPGothic");
    const QString ipa = QStringLiteral("IPAGothic");
    const QString mono = QStringLiteral("DejaVu Sans Mono");
    QFont::insertSubstitutions(kPGothic, QStringList()
                                             << ipaP << ipa << QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitutions(kGothic, QStringList() << ipa << mono);
    QFont::insertSubstitutions(kTerminal, QStringList()
                                              << ipa << mono << QStringLiteral("Monospace"));
}

QFont designFont(const QString& family, int pixelHeight, bool bold) {
    QFont f(family);
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    if (family == kTerminal || family == kGothic) {
        f.setStyleHint(QFont::Monospace);
        f.setFixedPitch(true);
    }
    return f;
}
