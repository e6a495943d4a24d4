#pragma once
#include "Fonts.h"
#include "TPanel.h"

#include <QRect>

class QDialog;
class QLabel;

// The look of a panel in a design table.
struct PanelLook {
    TBevelCut inner = bvNone;
    TBevelCut outer = bvRaised;
    int bevelWidth = 1;
    int borderWidth = 0;
    TBorderStyle border = bsNone;
    TColor color = clBtnFace;
    TColor fontColor = clBlack;
    QString fontFamily; // empty: the parent's font
    int fontHeight = 12;
    bool bold = false;
};

// Creates a named panel from a design row: geometry, caption and look.
TPanel* makePanel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                  const PanelLook& look = {});
// Creates a named label, at least as wide as its text; a height of 0 fits the text.
QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                  TColor fontColor = clWindowText, const QFont* font = nullptr);

// A fixed-size dialog frame with a title-bar close box only, in the designs' window font.
void setUpFixedDialog(QDialog* dialog, const char* name, const QString& caption,
                      const QSize& clientSize);
// Moves a window to the centre of the screen it is on.
void centreOnScreen(QWidget* window);
