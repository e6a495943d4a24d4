#pragma once
#include "QtPlatform.h"
#include "SoundOutput.h"
#include "SpeechOutput.h"

// The program's platform with the sound and speech modules of this build.
class BenchPlatform : public QtPlatform {
public:
    void prepareSounds(int volume) override { sounds.prepare(volume); }
    void playSound(Sound sound) override { sounds.play(sound); }
    void releaseSounds() override { sounds.release(); }
    void say(const QString& text, const QString& lang) override { speech.say(text, lang); }
    void stopSpeech() override { speech.stop(); }
    QString speechProblem() override { return speech.problem(); }
    SoundOutput sounds{{QStringLiteral(VELOTAPPER_SOUND_MODULE_DIR)}};
    SpeechOutput speech{{QStringLiteral(VELOTAPPER_SOUND_MODULE_DIR)}};
};
