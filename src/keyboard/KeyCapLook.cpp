#include "KeyCapLook.h"

PanelLook keyCapLook(char caption) {
    PanelLook look;
    look.outer = bvRaised;
    look.bevelWidth = 3;
    look.borderWidth = 1;
    look.border = bsSingle;
    look.fontFamily = kTerminal;
    look.fontHeight = 19;
    if (caption == ';' || caption == ':' || caption == ',' || caption == '.') look.fontHeight = 23;
    if (caption == '/' || caption == ' ') {
        look.fontFamily = kPGothic;
        look.fontHeight = 12;
    }
    return look;
}
