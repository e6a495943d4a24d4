#pragma once
#include <QFont>
#include <QString>

// Font families the designs name. None of them is on a Debian machine: each is drawn in
// the first installed face of its own list (IPA Gothic from fonts-ipafont-gothic first),
// chosen here rather than left to fontconfig, whose guess for a name it does not have
// follows whatever the desktop installed.
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kTerminal = QStringLiteral("Terminal");

// The installed face a design family is drawn in; the design's own name when none of
// its faces is installed (fontconfig then picks).
QString designFace(const QString& family);
// A design font: family and character height in pixels (the designs' negative heights).
QFont designFont(const QString& family, int pixelHeight, bool bold = false);
