#include "OnScreenKeyboard.h"

#include "PracticeRecord.h"
#include "TPanel.h"
#include "TextBytes.h"

#include <cstring>

OnScreenKeyboard::OnScreenKeyboard(PracticeRecord& record) : record_(record) {
    clearKeyTable(table, shiftKeys);
}

void OnScreenKeyboard::build(QObject* root) {
    BuildKeyTable(root, table, shiftKeys);
    // Keys wear the learner's finger colours, the guide's and the course's: their
    // legends stay legible on each.
    for (const KeyEntry& e : table)
        if (e.panel) e.panel->setKeepLegible(true);
}

void OnScreenKeyboard::updateModifiers(bool shift, bool ctrl) {
    if (ctrl && panels_.ctrl->bevelOuter() != bvLowered)
        panels_.ctrl->setBevelOuter(bvLowered);
    else if (!ctrl && panels_.ctrl->bevelOuter() != bvRaised)
        panels_.ctrl->setBevelOuter(bvRaised);

    // Only the left panel is tested, so captions flip only when the state changes.
    if (shift && panels_.shiftLeft->bevelOuter() != bvLowered) {
        panels_.shiftLeft->setBevelOuter(bvLowered);
        panels_.shiftRight->setBevelOuter(bvLowered);
        UpdateShiftCaptions(true);
    } else if (!shift && panels_.shiftLeft->bevelOuter() != bvRaised) {
        panels_.shiftLeft->setBevelOuter(bvRaised);
        panels_.shiftRight->setBevelOuter(bvRaised);
        UpdateShiftCaptions(false);
    }
}

void OnScreenKeyboard::MemoKeyDown(quint16& key, bool shift, bool ctrl) {
    lastKey = key;
    lastShift = shift;
    key = 0; // the pane never acts on a typed key itself
    if (lastKey > 255) return;
    if (pressedKey) {
        pressedKey->panel->setBevelOuter(bvRaised);
        pressedKey = nullptr;
    }
    KeyEntry& entry = table[lastKey];
    if (!entry.panel) return;
    if (lastKey == vkCapsJis) {
        if (shift) {
            capsShown = !capsShown;
            panels_.lock->setBevelOuter(capsShown ? bvLowered : bvRaised);
        }
        return;
    }
    updateModifiers(shift, ctrl);
    if (lastKey == vkShift || lastKey == vkControl) return;
    if (practiceRunning && judgeKey) {
        if (judgeKey(lastKey, shift, key) != JudgeOutcome::Accepted) return;
    }
    entry.panel->setBevelOuter(bvLowered);
    pressedKey = &entry;
    if (panels_.memo) panels_.memo->setFocus();
}

void OnScreenKeyboard::MemoKeyUp(quint16 key, bool shift, bool ctrl) {
    lastKey = 0;
    if (key > 255) return;
    updateModifiers(shift, ctrl);
    if (pressedKey) {
        pressedKey->panel->setBevelOuter(bvRaised);
        pressedKey = nullptr;
    }
}

void OnScreenKeyboard::setLegends(std::function<QString(int vk, bool shift)> legends) {
    legends_ = std::move(legends);
    if (!legends_) // the letters keep their captions through Shift; give them back here
        for (int vk = 'A'; vk <= 'Z'; ++vk)
            if (table[std::size_t(vk)].panel) table[std::size_t(vk)].panel->setCaption(QChar(vk));
    UpdateShiftCaptions(panels_.shiftLeft && panels_.shiftLeft->bevelOuter() == bvLowered);
}

void OnScreenKeyboard::UpdateShiftCaptions(bool shifted) {
    if (legends_) {
        for (std::size_t vk = 0; vk < table.size(); ++vk) {
            const KeyEntry& e = table[vk];
            if (!e.panel || e.baseChar == 0 || vk == vkSpace) continue;
            QString caption = legends_(int(vk), shifted);
            if (caption.isEmpty()) caption = legends_(int(vk), false);
            e.panel->setCaption(caption);
        }
        return;
    }
    for (int i = 0; i < shiftKeys.count; ++i) {
        const KeyEntry& e = table[std::size_t(shiftKeys.codes[std::size_t(i)])];
        if (shifted)
            e.panel->setCaption(e.shiftedChar == '&' ? QStringLiteral("＆")
                                                     : byteText(e.shiftedChar));
        else
            e.panel->setCaption(byteText(e.baseChar));
    }
}

namespace {
// The fingerColors entry of a home key, or -1 for a key no finger is assigned.
int fingerOf(char homeKey) {
    static constexpr char kHomeKeys[] = "asdfjkl;";
    const char* at = homeKey == ' ' ? nullptr : std::strchr(kHomeKeys, homeKey);
    return at && *at ? int(at - kHomeKeys) : -1;
}
} // namespace

void OnScreenKeyboard::btnKeybordClick() {
    if (keyboardColoured) {
        keyboardColoured = false;
        for (auto& e : table)
            if (e.homeKey != ' ') e.panel->setColor(clBtnFace);
        panels_.space->setColor(clBtnFace);
    } else {
        keyboardColoured = true;
        for (auto& e : table)
            if (const int f = fingerOf(e.homeKey); f >= 0)
                e.panel->setColor(record_.fingerColors[std::size_t(f)]);
        panels_.space->setColor(record_.fingerColors[8]);
    }
}
