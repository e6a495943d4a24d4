#pragma once
#include "Fixture.h"
#include "Keys.h"

#include <functional>

// Plays the user during a drill: at every wait for a key it reads the prompted
// character from Display and acts through the script, with the clock moving on.
struct DrillDriver {
    explicit DrillDriver(Fixture& fixture) : f(fixture) {
        f.env.platform.onWait = [this](qint64 deadline) {
            if (deadline >= 0) return; // the start prompts
            f.env.platform.now += msPerWait;
            const QString caption = f.display();
            if (caption != lastCaption) {
                lastCaption = caption;
                prompts += char(caption.at(1).unicode());
                step = 0;
            } else {
                ++step;
            }
            script(int(prompts.size()) - 1, step, prompts.back());
        };
    }

    static quint32 xkeyOfDrillChar(char c) {
        switch (c) {
        case ';':
            return keys::Semicolon;
        case ',':
            return keys::Comma;
        case '.':
            return keys::Period;
        default:
            return keys::xkeyOf(c);
        }
    }
    // Lets go of the key held since the last wait, then holds down this one.
    void hold(quint32 xkey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        if (held) keys::release(f.w->Memo, held);
        keys::press(f.w->Memo, xkey, mods);
        held = xkey;
    }
    void answer(char c) { hold(xkeyOfDrillChar(c)); }

    Fixture& f;
    int msPerWait = 400;
    quint32 held = 0;
    QString lastCaption;
    QByteArray prompts; // every character prompted, in order
    int step = 0;       // waits so far for the current prompt
    // (prompt index, wait index for that prompt, prompted character)
    std::function<void(int, int, char)> script = [this](int, int, char c) { answer(c); };
};
