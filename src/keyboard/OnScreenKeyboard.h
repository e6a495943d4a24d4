#pragma once
#include "KeyTable.h"

#include <QString>
#include <array>
#include <functional>

class TPanel;
class QWidget;
struct PracticeRecord;

// What the judging of a running text exercise made of a key.
enum class JudgeOutcome { Mistype, Accepted, Finished };

// The on-screen keyboard: draws key presses, the Shift and Ctrl panels, the shifted
// captions and the Lock panel, and paints the finger colours. Its key-down handler
// is also where typing practice sees every key.
class OnScreenKeyboard {
public:
    struct Panels {
        TPanel* ctrl = nullptr;
        TPanel* shiftLeft = nullptr;
        TPanel* shiftRight = nullptr;
        TPanel* lock = nullptr;
        TPanel* space = nullptr;
        QWidget* memo = nullptr; // takes the focus after each drawn key
    };

    explicit OnScreenKeyboard(PracticeRecord& record);

    // The panels driven by name; set once the window has created them.
    void setPanels(const Panels& panels) { panels_ = panels; }

    // Builds the key table from the panels under root.
    void build(QObject* root);

    // key: the code the pane will act on afterwards (0, or 40 at a line end).
    void MemoKeyDown(quint16& key, bool shift, bool ctrl);
    void MemoKeyUp(quint16 key, bool shift, bool ctrl);
    void UpdateShiftCaptions(bool shifted);
    // Captions of the character keys from another arrangement (the kana of a kana
    // run), following Shift; an empty function gives the keys their own captions back.
    void setLegends(std::function<QString(int vk, bool shift)> legends);
    void btnKeybordClick();

    // Judging of a running text exercise; called for keys with a panel other than
    // Shift, Ctrl and Lock while practiceRunning is true.
    std::function<JudgeOutcome(quint16 key, bool shift, quint16& paneKey)> judgeKey;

    KeyTable table;
    ShiftCaptionKeys shiftKeys;
    quint16 lastKey = 0;
    bool lastShift = false; // Shift was held for lastKey
    KeyEntry* pressedKey = nullptr;
    bool capsShown = false;
    bool keyboardColoured = false;
    bool practiceRunning = false;

private:
    void updateModifiers(bool shift, bool ctrl);

    PracticeRecord& record_;
    Panels panels_;
    std::function<QString(int vk, bool shift)> legends_;
};
