#pragma once
#include <QString>

// Why what is said cannot be heard.
enum class SpeechTrouble {
    None,
    NoModule,   // the program's speech module is missing or cannot be opened
    NoServer,   // no speech server answers
    NoVoice,    // the server has no voice for the language asked for
    ServerGone, // the server stopped answering after it had spoken
};

// What the speech module offers the program: text handed to a speech server without
// waiting for it. The module is a library of its own, so the program pays for Qt's text
// to speech only once a learner has asked for speech.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // Queues the text in the language (a BCP 47 name such as "ja" or "en") and returns
    // at once; what is being said stops.
    virtual void say(const QString& text, const QString& lang) = 0;
    // Stops what is being said and drops what waits.
    virtual void stop() = 0;
    // The trouble met last; None while speech is heard or has not been tried.
    virtual SpeechTrouble trouble() const = 0;
};

// The module's one exported function: a new engine, or null when it cannot make one.
extern "C" using MakeSpeechEngine = SpeechEngine * ();
inline constexpr const char* kMakeSpeechEngine = "velotapper_make_speech_engine";
