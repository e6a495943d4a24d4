#include "PaceChoice.h"

#include "HistoryTypes.h"
#include "TPagesDlg.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// In the order of the list's entries.
const QString kModes[] = {QStringLiteral("off"), QStringLiteral("target"), QStringLiteral("best"),
                          QStringLiteral("last")};

int modeIndex(const QString& kept) {
    for (int i = 0; i < 4; ++i)
        if (kModes[i] == kept) return i;
    return 0;
}

// A number, so no input method: one would hold the digits for conversion.
class NumberBox : public QSpinBox {
public:
    explicit NumberBox(QWidget* parent) : QSpinBox(parent) {
        // Keys reach the inner edit through the box, which answers for it.
        lineEdit()->setFocusPolicy(Qt::NoFocus);
    }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        return query == Qt::ImEnabled ? QVariant(false) : QSpinBox::inputMethodQuery(query);
    }
};

} // namespace

PaceChoice::PaceChoice(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaceChoice"));
    mode = new QComboBox(this);
    mode->setObjectName(QStringLiteral("cbPace"));
    mode->addItems({tr("ﾍﾟｰｽなし"), tr("ﾍﾟｰｽ目標"), tr("ﾍﾟｰｽ最高"), tr("ﾍﾟｰｽ前回")});
    mode->setGeometry(0, 0, 71, 22);
    mode->setAccessibleName(tr("ペース"));
    mode->view()->setAccessibleName(tr("ペース"));
    setDesignHint(mode, tr("練習中に追いかける二つ目のカーソルの速さ"), true);
    target = new NumberBox(this);
    target->setObjectName(QStringLiteral("spPaceTarget"));
    target->setRange(kPaceTargetLow, kPaceTargetHigh);
    target->setButtonSymbols(QAbstractSpinBox::NoButtons); // a narrow place: typed or wheeled
    target->setGeometry(73, 0, 42, 22);
    target->setAccessibleName(tr("ペースの目標の速さ"));
    setDesignHint(target, tr("ペースの目標の速さ（キー/分）。前の回がないときもこの速さで進みます"),
                  true);
}

void PaceChoice::fill(HistoryReader* history, const QString& locked) {
    for (QWidget* w : std::initializer_list<QWidget*>{mode, target}) {
        w->setEnabled(history != nullptr && locked.isEmpty());
        w->setToolTip(locked.isEmpty() ? w->property("hint").toString() : locked);
    }
    mode->setCurrentIndex(history ? modeIndex(history->setting(kPaceModeSetting)) : 0);
    target->setValue(history ? paceTarget(history->setting(kPaceTargetSetting))
                             : kPaceTargetDefault);
}

void PaceChoice::save(HistoryReader* history) const {
    if (!history || !mode->isEnabled()) return;
    const QString m = kModes[qBound(0, mode->currentIndex(), 3)];
    if (m != history->setting(kPaceModeSetting, kModes[0]))
        history->setSetting(kPaceModeSetting, m);
    const QString t = QString::number(target->value());
    if (t != history->setting(kPaceTargetSetting, QString::number(kPaceTargetDefault)))
        history->setSetting(kPaceTargetSetting, t);
}

std::optional<PaceGhost> paceGhostOf(HistoryReader* history, const QString& mode,
                                     const QString& source, QByteArrayView text) {
    if (!history) return std::nullopt;
    const QString kept = history->setting(kPaceModeSetting);
    if (modeIndex(kept) == 0) return std::nullopt;
    const int target = paceTarget(history->setting(kPaceTargetSetting));
    if (kept == kModes[1]) return PaceGhost::steady(target, text);
    const PaceRun which = kept == kModes[2] ? PaceRun::Best : PaceRun::Last;
    return PaceGhost::replay(history->paceStrokes(mode, source, which), target, text);
}
