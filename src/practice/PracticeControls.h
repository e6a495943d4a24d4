#pragma once
#include "RunSounds.h"
#include "RunSpeech.h"
#include "RunSummary.h"

#include <functional>
#include <memory>

class QProgressBar;
class QTimer;
class PaceRunner;
class QWidget;
class TMemo;
class TPanel;
class TSpeedButton;

// The main-window controls a practice run writes to, and the tool-group switch.
struct PracticeControls {
    QWidget* window = nullptr; // parent of message boxes and dialogs
    TPanel* display = nullptr;
    TPanel* lcd = nullptr;
    TMemo* memo = nullptr;
    QProgressBar* bar = nullptr;
    QTimer* timer = nullptr;
    TSpeedButton* btnStart = nullptr;
    TSpeedButton* btnStop = nullptr;
    std::function<void()> enableTools;
    std::function<void()> disableTools;
    // Each run that the record saved, after the save; may be empty.
    RunSink onRun;
    // The sounds of every run, one for all the practice these controls serve.
    std::shared_ptr<RunSounds> sounds = std::make_shared<RunSounds>();
    // What every run says in the spoken mode.
    std::shared_ptr<RunSpeech> speech = std::make_shared<RunSpeech>();
    // The pace runs beside the text runs when set.
    PaceRunner* pace = nullptr;
};
