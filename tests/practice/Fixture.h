#pragma once
#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QProgressBar>
#include <QTimer>
#include <memory>

// The real main window on the scripted platform, in a fresh working directory.
struct Fixture {
    Fixture() : w(std::make_unique<TVelotapper>()) {}
    // Starts from this record file instead of the defaults.
    explicit Fixture(const QByteArray& recordFile) {
        env.writeFile(QStringLiteral("Velotap.bin"), recordFile);
        w = std::make_unique<TVelotapper>();
    }

    TestEnv env;
    std::unique_ptr<TVelotapper> w;

    PracticeRecord& rec() { return w->record(); }
    TextExercise& ex() { return w->exercise(); }
    QString display() const { return w->Display->caption(); }
    // A text file in the working directory, loaded as the practice text.
    void load(const QByteArray& bytes, const QString& name = QStringLiteral("t.txt")) {
        env.writeFile(name, bytes);
        ex().loadPracticeText(name);
    }
    // Starts a run on the loaded text; the fake clock runs through the prompts.
    void start() { w->btnStart->click(); }
    // A tick of the one-second timer, with the clock moved on.
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            env.platform.now += 1000;
            w->Timer1Timer();
        }
    }
};
