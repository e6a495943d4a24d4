#pragma once
#include <QFont>
#include <QString>

// Font families the designs name. None of them is on a Debian machine: each is drawn in
// the first installed face of its own list, IPA Gothic (fonts-ipafont-gothic) first.
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kTerminal = QStringLiteral("Terminal");

// A design font: family and character height in pixels (the designs' negative heights).
QFont designFont(const QString& family, int pixelHeight, bool bold = false);
