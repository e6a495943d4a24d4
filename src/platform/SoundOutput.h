#pragma once
#include "SoundPlayer.h"

#include <QLibrary>
#include <QStringList>
#include <memory>

// The program's way to the sound module: loads it the first time a sound is wanted,
// from the first folder that holds it, and stays silent when none does or when the
// module cannot make a player (no audio library, no sound device).
class SoundOutput {
public:
    // Where the module is looked for: beside the program (a build), then the package's
    // library folder.
    static QStringList defaultFolders();

    // No folders: the default ones, looked up only when a sound is first wanted.
    explicit SoundOutput(QStringList folders = {});
    ~SoundOutput();

    // Loads the module once and sets the volume (0..100); later calls set the volume only.
    void prepare(int volume);
    void play(Sound sound);
    void release();
    bool ready() const { return player_ != nullptr; }

private:
    QStringList folders_;
    QLibrary library_;
    std::unique_ptr<SoundPlayer> player_;
    bool tried_ = false;
};
