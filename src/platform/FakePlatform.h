#pragma once
#include "Platform.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// A scripted platform for tests: records message boxes, answers the pickers from
// queues, runs a clock that moves only when told, draws scripted random values, and
// lets the test act from inside every wait (to type keys while a prompt waits).
class FakePlatform : public Platform {
public:
    void messageBox(QWidget* parent, const QString& text) override;
    int execDialog(QDialog* dialog) override;
    QString openFile(QWidget* parent, const QString& filter, bool moveWorkingFolder) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& suggestedName) override;
    bool confirm(QWidget* parent, const QString& text) override;
    std::optional<TColor> pickColor(QWidget* parent, TColor initial) override;
    qint64 clockMs() override { return now; }
    qint64 calendarSeconds() override { return calendar; }
    // The calendar moves on with the scripted clock.
    qint64 calendarMs() override { return calendar * 1000 + now; }
    void seedRandom(quint32 seed) override { seeds.push_back(seed); }
    int random() override;
    void waitEvents(qint64 deadlineMs) override;
    void prepareSounds(int volume) override { soundVolume = volume; }
    void playSound(Sound sound) override { sounds.push_back(sound); }
    std::optional<QString> askText(QWidget* parent, const QString& prompt,
                                   const QString& initial) override;
    void say(const QString& text, const QString& lang) override { said << lang + u':' + text; }
    void stopSpeech() override { said << QStringLiteral("-"); }
    QString speechProblem() override { return speechTrouble; }

    QStringList messages;
    // Runs while a box is up, as a real box's event loop runs the program's events.
    std::function<void(const QString&)> onMessage;
    // Called with each dialog run modally; it may click in it. The dialog is shown
    // while the hook runs and hidden afterwards.
    std::function<void(QDialog*)> onDialog;
    int dialogsRun = 0;
    std::deque<QString> files; // empty string = cancel
    QStringList fileFilters;
    std::deque<QString> saveFiles; // empty string = cancel
    QStringList saveSuggestions;
    std::deque<bool> answers; // Yes/No boxes; when empty the answer is No
    QStringList questions;
    std::deque<std::optional<TColor>> colors; // nullopt = cancel
    std::vector<TColor> colorsOffered;        // the colour each picking opened on
    std::deque<std::optional<QString>> texts; // askText's answers; nullopt = cancel
    QStringList textPrompts;                  // what each askText asked
    qint64 now = 0;
    qint64 calendar = 1'700'000'000;
    std::vector<quint32> seeds;
    std::deque<int> randoms; // when empty, a fixed generator continues
    // Called at every wait with the deadline (negative: none). When it leaves the
    // clock before a deadline, the wait moves the clock to the deadline.
    std::function<void(qint64 deadlineMs)> onWait;
    int waits = 0;
    int soundVolume = -1; // unprepared
    std::vector<Sound> sounds;
    QStringList said;         // "lang:text" for each text said, "-" for each stop, in order
    QString speechTrouble;    // what speechProblem answers
    int maxWaits = 1'000'000; // a runaway wait loop fails the test instead of hanging

private:
    quint32 state_ = 1;
};
