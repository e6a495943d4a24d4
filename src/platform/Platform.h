#pragma once
#include "Colors.h"
#include "SoundPlayer.h"

#include <QString>
#include <optional>

class QDialog;
class QWidget;

// The application title in the program's language: the caption of every message box.
QString appTitle();

// The services the program takes from its desktop: modal boxes, the file and colour
// pickers, the clock, the random generator and the blocking wait. One instance serves
// the whole run; tests install a scripted one.
class Platform {
public:
    virtual ~Platform() = default;

    // A modal box captioned with the application title and one OK button.
    virtual void messageBox(QWidget* parent, const QString& text) = 0;
    // Runs a dialog modally and returns its result code.
    virtual int execDialog(QDialog* dialog) = 0;
    // A file-open dialog: the chosen existing file, or empty on cancel. On OK the
    // chosen file's folder becomes the working directory when moveWorkingFolder is set,
    // even when the file then proves to be no text file (a pipe, a device).
    virtual QString openFile(QWidget* parent, const QString& filter, bool moveWorkingFolder) = 0;
    // A file-save dialog offering suggestedName in the working directory: the chosen
    // path, or empty on cancel. The working directory stays where it is.
    virtual QString saveFile(QWidget* parent, const QString& filter,
                             const QString& suggestedName) = 0;
    // A Yes/No box captioned with the application title; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // The colour picker, opened on the given colour; empty on cancel.
    virtual std::optional<TColor> pickColor(QWidget* parent, TColor initial) = 0;
    // Milliseconds from an arbitrary origin, never going back.
    virtual qint64 clockMs() = 0;
    // Calendar time in seconds.
    virtual qint64 calendarSeconds() = 0;
    // Calendar time in milliseconds since the epoch (UTC), for the run history's times.
    virtual qint64 calendarMs() = 0;
    virtual void seedRandom(quint32 seed) = 0;
    // A pseudo-random value 0..32767.
    virtual int random() = 0;
    // Processes the pending events, then blocks until the next event arrives or the
    // clock reaches deadlineMs (no deadline when negative), and processes what came.
    virtual void waitEvents(qint64 deadlineMs) = 0;
    // Gets the sounds ready at a volume of 0..100, so that the first sound waits for
    // nothing. Without a sound device these calls stay silent and say nothing.
    virtual void prepareSounds(int volume) { (void)volume; }
    // Starts a sound and returns at once.
    virtual void playSound(Sound sound) { (void)sound; }
    // The run is over: the sound output may close once what plays has finished.
    virtual void releaseSounds() {}
    // A one-line text asked for in a box captioned with the application title, offered
    // with initial; none on cancel.
    virtual std::optional<QString> askText(QWidget* parent, const QString& prompt,
                                           const QString& initial) {
        (void)parent, (void)prompt, (void)initial;
        return std::nullopt;
    }
    // Says text in lang ("ja", "en") and returns at once, cutting off what is being said.
    virtual void say(const QString& text, const QString& lang) {
        (void)text;
        (void)lang;
    }
    // Stops what is being said.
    virtual void stopSpeech() {}
    // Why what is said cannot be heard (no speech server, no voice for the language, a
    // server that stopped); empty when it can be or speech was not tried yet.
    virtual QString speechProblem() { return {}; }

    static Platform& get();
    // Installs the instance for the run; the caller keeps ownership.
    static void install(Platform* p);
};
