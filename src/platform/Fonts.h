#pragma once
#include <QFont>
#include <QString>

// Font families the designs name; registered substitutions map them to faces
// Debian ships (IPA Gothic), so Japanese renders and metrics stay close.
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kTerminal = QStringLiteral("Terminal");

void registerFontSubstitutions();
// A design font: family and character height in pixels (the designs' negative heights).
QFont designFont(const QString& family, int pixelHeight, bool bold = false);
