#include "GoalSection.h"

#include "DesignTable.h"
#include "GoalDays.h"
#include "HistoryTypes.h"
#include "TPagesDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// A number box that takes no part in an input method, which would only turn the digits
// into full-width ones awaiting conversion.
class MinutesBox : public QSpinBox {
public:
    explicit MinutesBox(QWidget* parent) : QSpinBox(parent) {
        // The edit's policy passes on to the box it stands in for: the box takes Tab again.
        lineEdit()->setFocusPolicy(Qt::NoFocus);
        setFocusPolicy(Qt::WheelFocus);
    }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        return query == Qt::ImEnabled ? QVariant(false) : QSpinBox::inputMethodQuery(query);
    }
};

} // namespace

GoalSection::GoalSection(QWidget* parent) : SettingsSection(tr("毎日の目標"), parent) {
    setObjectName(QStringLiteral("gbGoal"));
    resize(337, 70);
    cbGoal = new QCheckBox(tr("1日の練習時間"), this);
    cbGoal->setObjectName(QStringLiteral("cbGoal"));
    cbGoal->setGeometry(12, 24, 150, 17);
    setDesignHint(cbGoal, tr("毎日の練習時間の目標を決めます"), true);
    spGoalMinutes = new MinutesBox(this);
    spGoalMinutes->setObjectName(QStringLiteral("spGoalMinutes"));
    spGoalMinutes->setGeometry(170, 20, 90, 24);
    spGoalMinutes->setRange(1, goal::kMostMinutes);
    spGoalMinutes->setSuffix(tr(" 分"));
    setDesignHint(spGoalMinutes, tr("この時間を練習した日が目標を達成した日です"), true);
    auto* note = makeLabel(this, "lbGoal", QRect(12, 48, 320, 15),
                           tr("目標なしでは、練習した日をすべて連続の日に数えます"));
    note->setWordWrap(false);
    connect(cbGoal, &QCheckBox::toggled, spGoalMinutes,
            [this](bool on) { spGoalMinutes->setEnabled(on && cbGoal->isEnabled()); });
}

void GoalSection::fill(HistoryReader* history, const QString& locked) {
    const int kept = goal::minutesOf(history ? history->setting(goal::kMinutesSetting) : QString());
    const bool open = history && locked.isEmpty();
    cbGoal->setEnabled(open);
    cbGoal->setChecked(kept > 0);
    // Off, the box offers the usual goal to start from.
    spGoalMinutes->setValue(kept > 0 ? kept : goal::kDefaultMinutes);
    spGoalMinutes->setEnabled(open && kept > 0);
    setToolTip(locked);
}

void GoalSection::save(HistoryReader* history) {
    if (!history || !cbGoal->isEnabled()) return;
    const int chosen = cbGoal->isChecked() ? spGoalMinutes->value() : 0;
    // Only a change is written: an untouched goal leaves the history alone.
    if (chosen != goal::minutesOf(history->setting(goal::kMinutesSetting)))
        history->setSetting(goal::kMinutesSetting, QString::number(chosen));
}
