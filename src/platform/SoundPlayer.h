#pragma once

// The sounds a run makes.
enum class Sound { Click, Miss, End, Tick };

// What the sound module offers the program: sounds made and loaded once, then started
// without waiting. The module is a library of its own, so the program pays for an audio
// stack only once a learner has asked for a sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // 0..100.
    virtual void setVolume(int percent) = 0;
    // Starts the sound and returns at once; a sound still playing starts over.
    virtual void play(Sound sound) = 0;
    // No more sounds for a while (a run ended): what plays may finish, then the output
    // may close until the next setVolume or play.
    virtual void release() = 0;
};

// The module's one exported function: a new player, or null when it cannot make one.
extern "C" using MakeSoundPlayer = SoundPlayer * ();
inline constexpr const char* kMakeSoundPlayer = "velotapper_make_sound_player";
