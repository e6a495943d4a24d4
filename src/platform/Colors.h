#pragma once
#include <QColor>
#include <QtGlobal>

// Colours as the designs store them: 0x00BBGGRR, or 0x80000000 + n for system colour n.
using TColor = quint32;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clAqua = 0x00FFFF00;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;

constexpr bool isSystemColor(TColor c) {
    return (c & 0xFF000000u) == 0x80000000u;
}

// Resolves a design colour to a concrete colour of the current palette.
QColor toQColor(TColor c);
// The design value of a concrete colour (never a system colour).
TColor fromQColor(const QColor& c);
// How far text of one colour stands out from a background of another: 1 for the same
// colour up to 21 for black on white; 4.5 is the least normal text needs to be legible.
double contrastRatio(const QColor& a, const QColor& b);
// Black, or white where a dark background (a colour the learner chose) leaves black
// text below that least contrast.
TColor legibleTextOn(TColor background);
