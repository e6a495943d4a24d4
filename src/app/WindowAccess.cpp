// What the main window offers a learner who works without seeing it: names for screen
// readers, key exploration and the keys that stand in for the stop and file buttons.
#include "KeyNames.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"

#include <QProgressBar>

void TVelotapper::nameControls() {
    Panel1->setAccessibleName(tr("ツールバー"));
    Display->setLabel(tr("案内"));
    LCD->setLabel(tr("経過時間"));
    Bar1->setAccessibleName(tr("練習の進み具合"));
    nameKeyPanels(keyboard_.table, ShiftLeftPB, ShiftRightPB);
}

QString TVelotapper::exploredText(quint16 vk) const {
    if (vk > 255 || !keyboard_.table[vk].panel) return QString();
    const TPanel* panel = vk == vkShift ? ShiftLeftPB : keyboard_.table[vk].panel;
    return keyAndFinger(vk, panel->caption());
}

void TVelotapper::startExploration() {
    buildPane();
    exploring_ = true;
    disableTools();
    Display->setCaption(tr("キーを押すと、その指を示します。[Esc]で終わります。"));
}

void TVelotapper::endExploration() {
    exploring_ = false;
    Display->setCaption(QString());
    enableTools();
}

void TVelotapper::stopKey() {
    if (btnStop->isEnabled())
        btnStopClick();
    else
        keyboard_.lastKey = vkEscape; // the drill waits on this and ends as on Esc
}

void TVelotapper::fileKey() {
    if (exercise_->btnFileClick()) btnStartClick();
}
