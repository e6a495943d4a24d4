#pragma once
#include "Platform.h"
#include "SoundOutput.h"
#include "SpeechOutput.h"

#include <QElapsedTimer>

// The desktop's own services through Qt.
class QtPlatform : public Platform {
public:
    QtPlatform();
    void messageBox(QWidget* parent, const QString& text) override;
    int execDialog(QDialog* dialog) override;
    QString openFile(QWidget* parent, const QString& filter, bool moveWorkingFolder) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& suggestedName) override;
    bool confirm(QWidget* parent, const QString& text) override;
    std::optional<TColor> pickColor(QWidget* parent, TColor initial) override;
    qint64 clockMs() override;
    qint64 calendarSeconds() override;
    qint64 calendarMs() override;
    void seedRandom(quint32 seed) override;
    int random() override;
    void waitEvents(qint64 deadlineMs) override;
    void prepareSounds(int volume) override { sounds_.prepare(volume); }
    void playSound(Sound sound) override { sounds_.play(sound); }
    void releaseSounds() override { sounds_.release(); }
    std::optional<QString> askText(QWidget* parent, const QString& prompt,
                                   const QString& initial) override;
    void say(const QString& text, const QString& lang) override { speech_.say(text, lang); }
    void stopSpeech() override { speech_.stop(); }
    QString speechProblem() override { return speech_.problem(); }

private:
    QElapsedTimer clock_;
    quint32 seed_ = 1;
    SoundOutput sounds_;
    SpeechOutput speech_;
};
