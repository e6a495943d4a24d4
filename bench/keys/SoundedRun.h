#pragma once
#include "QtPlatform.h"
#include "SoundOutput.h"

// The program's platform with the sound module of this build.
class BenchPlatform : public QtPlatform {
public:
    void prepareSounds(int volume) override { sounds.prepare(volume); }
    void playSound(Sound sound) override { sounds.play(sound); }
    void releaseSounds() override { sounds.release(); }
    SoundOutput sounds{{QStringLiteral(VELOTAPPER_SOUND_MODULE_DIR)}};
};
