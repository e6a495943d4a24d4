#include "Keys.h"

#include <QCoreApplication>
#include <QWidget>

namespace keys {

quint32 xkeyOf(char c) {
    static const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    static const quint32 firsts[] = {24, 38, 52};
    if (c >= '1' && c <= '9') return quint32(10 + (c - '1'));
    if (c == '0') return 19;
    for (int r = 0; r < 3; ++r)
        for (int i = 0; rows[r][i]; ++i)
            if (rows[r][i] == c) return firsts[r] + quint32(i);
    return 0;
}

namespace {
void send(QWidget* w, QEvent::Type type, quint32 xkey, Qt::KeyboardModifiers mods, bool rep,
          int qtKey) {
    QKeyEvent e(type, qtKey, mods, xkey, 0, 0, QString(), rep);
    QCoreApplication::sendEvent(w, &e);
}
} // namespace

void press(QWidget* w, quint32 xkey, Qt::KeyboardModifiers mods, bool autoRepeat, int qtKey) {
    send(w, QEvent::KeyPress, xkey, mods, autoRepeat, qtKey);
}

void release(QWidget* w, quint32 xkey, Qt::KeyboardModifiers mods, bool autoRepeat, int qtKey) {
    send(w, QEvent::KeyRelease, xkey, mods, autoRepeat, qtKey);
}

void tap(QWidget* w, quint32 xkey, Qt::KeyboardModifiers mods) {
    press(w, xkey, mods);
    release(w, xkey, mods);
}

} // namespace keys
