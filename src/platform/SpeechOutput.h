#pragma once
#include "SpeechEngine.h"

#include <QLibrary>
#include <QStringList>
#include <memory>

// The program's way to the speech module: loads it the first time something is to be
// said, from the first folder that holds it (the sound module's folders), and stays
// silent when none does; what the module cannot say it tells through problem().
class SpeechOutput {
public:
    // No folders: the sound module's, looked up only when speech is first wanted.
    explicit SpeechOutput(QStringList folders = {});
    ~SpeechOutput();

    void say(const QString& text, const QString& lang);
    void stop();
    // Why nothing is heard, in the learner's language; empty when speech works or was
    // never asked for.
    QString problem() const;
    bool ready() const { return engine_ != nullptr; }

private:
    void load();

    QStringList folders_;
    QLibrary library_;
    std::unique_ptr<SpeechEngine> engine_;
    bool tried_ = false;
};
