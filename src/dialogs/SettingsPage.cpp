#include "CourseExercise.h"
#include "Drill.h"
#include "HistoryFigures.h"
#include "HistoryTypes.h"
#include "JapaneseExercise.h"
#include "PaceChoice.h"
#include "PracticeRecord.h"
#include "TPagesDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace {

// A target is a number: an input method switched on for the desktop would only turn
// the digits into full-width ones awaiting conversion.
class TargetBox : public QSpinBox {
public:
    explicit TargetBox(QWidget* parent) : QSpinBox(parent) {
        // Keys reach the inner edit through the box, which answers for it.
        lineEdit()->setFocusPolicy(Qt::NoFocus);
    }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        return query == Qt::ImEnabled ? QVariant(false) : QSpinBox::inputMethodQuery(query);
    }
};

QSpinBox* makeTarget(QWidget* page, const char* name, int left, int width, int low, int high,
                     const QString& suffix, const QString& hint) {
    auto* box = new TargetBox(page);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setSuffix(suffix);
    box->setGeometry(left, 166, width, 22);
    setDesignHint(box, hint, true);
    return box;
}

QGroupBox* makeGroup(QWidget* page, const char* name, int left, const QString& caption) {
    auto* g = new QGroupBox(caption, page);
    g->setObjectName(QString::fromLatin1(name));
    g->setGeometry(left, 4, 101, 132);
    return g;
}

template <class Button>
Button* makeChoice(QGroupBox* group, const char* name, const QString& caption, const QString& hint,
                   int left, int top, int width) {
    auto* b = new Button(caption, group);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(left, top, width, 17);
    setDesignHint(b, hint, true);
    return b;
}

} // namespace

void TPagesDlg::createSettingsPage() {
    QWidget* page = TabSheet1;
    GroupBox2 = makeGroup(page, "GroupBox2", 8, tr("レベル"));
    rbBegin = makeChoice<QRadioButton>(GroupBox2, "rbBegin", tr("初級"),
                                       tr("練習を初級レベルにします"), 28, 36, 57);
    rbSecond = makeChoice<QRadioButton>(GroupBox2, "rbSecond", tr("中級"),
                                        tr("練習を中級レベルにします"), 28, 64, 57);
    rbSinner = makeChoice<QRadioButton>(GroupBox2, "rbSinner", tr("上級"),
                                        tr("練習を上級レベルにします"), 28, 88, 57);

    GroupBox1 = makeGroup(page, "GroupBox1", 124, tr("ポジション"));
    cbAline = makeChoice<QCheckBox>(GroupBox1, "cbAline", tr("A列"), tr("キーボードのＡ列の練習"),
                                    28, 24, 49);
    cbQline = makeChoice<QCheckBox>(GroupBox1, "cbQline", tr("Q列"), tr("キーボードのＱ列の練習"),
                                    28, 48, 49);
    cbZline = makeChoice<QCheckBox>(GroupBox1, "cbZline", tr("Z列"), tr("キーボードのＺ列の練習"),
                                    28, 76, 49);
    cb1line = makeChoice<QCheckBox>(GroupBox1, "cb1line", tr("1列"), tr("キーボードの数字列の練習"),
                                    28, 104, 49);

    GroupBox3 = makeGroup(page, "GroupBox3", 240, tr("ガイド"));
    rbGuideY = makeChoice<QRadioButton>(GroupBox3, "rbGuideY", tr("有り"),
                                        tr("フォームポジション練習でガイド表示有り"), 24, 52, 61);
    rbGuideN = makeChoice<QRadioButton>(GroupBox3, "rbGuideN", tr("無し"),
                                        tr("フォームポジション練習でガイド表示無し"), 24, 80, 61);

    // Kept in the history, so it is there only with one.
    cbWeakKeys = new QCheckBox(tr("苦手キーを多く出題"), page);
    cbWeakKeys->setObjectName(QStringLiteral("cbWeakKeys"));
    cbWeakKeys->setGeometry(16, 143, 150, 17);
    setDesignHint(cbWeakKeys, tr("フォームポジション練習で苦手なキーを多く出題します"), true);
    cbKanaInput = new QCheckBox(tr("日本語はかなキーで入力"), page);
    cbKanaInput->setObjectName(QStringLiteral("cbKanaInput"));
    cbKanaInput->setGeometry(172, 143, 175, 17);
    setDesignHint(cbKanaInput, tr("日本語の練習をローマ字ではなくかなキーで行います"), true);

    // What the course asks of a key before it adds the next; kept in the history too.
    auto* label = new QLabel(tr("コースの目標"), page);
    label->setObjectName(QStringLiteral("lbCourseTargets"));
    label->setGeometry(16, 169, 74, 16);
    spCourseSpeed = makeTarget(page, "spCourseSpeed", 92, 88, 10, 1000, tr(" キー/分"),
                               tr("キーを増やすのに要る速さ"));
    spCourseAccuracy = makeTarget(page, "spCourseAccuracy", 182, 52, 50, 100, tr(" %"),
                                  tr("キーを増やすのに要る正確さ"));
    // The page has no row left: the pace shares the course's.
    spCourseSpeed->setAccessibleName(tr("コースの目標の速さ"));
    spCourseAccuracy->setAccessibleName(tr("コースの目標の正確さ"));
    pace = new PaceChoice(page);
    pace->setGeometry(236, 166, 115, 22);
}

void TPagesDlg::fillSettingsPage() {
    // A level outside 0-2 leaves the group as it is: none checked until one is chosen.
    switch (record_.level) {
    case 0:
        rbBegin->setChecked(true);
        break;
    case 1:
        rbSecond->setChecked(true);
        break;
    case 2:
        rbSinner->setChecked(true);
        break;
    default:
        break;
    }
    cbAline->setChecked(record_.rowSet.contains(rowA));
    cbQline->setChecked(record_.rowSet.contains(rowQ));
    cbZline->setChecked(record_.rowSet.contains(rowZ));
    cb1line->setChecked(record_.rowSet.contains(rowNumber));
    if (record_.guideOn)
        rbGuideY->setChecked(true);
    else
        rbGuideN->setChecked(true);
    // A history that takes no writes keeps these as they are; the hint says why.
    const QString locked = history_ ? history_->cannotWrite() : QString();
    for (QWidget* box : std::initializer_list<QWidget*>{cbWeakKeys, cbKanaInput, spCourseSpeed,
                                                        spCourseAccuracy}) {
        box->setEnabled(history_ != nullptr && locked.isEmpty());
        box->setToolTip(locked.isEmpty() ? box->property("hint").toString() : locked);
    }
    cbWeakKeys->setChecked(history_ && history_->setting(kWeakKeysSetting) == QStringLiteral("1"));
    cbKanaInput->setChecked(history_ &&
                            history_->setting(kKanaInputSetting) == QStringLiteral("1"));
    const course::Targets kept = courseTargets(history_);
    spCourseSpeed->setValue(int(kept.perMinute));
    spCourseAccuracy->setValue(int(kept.accuracy));
    pace->fill(history_, locked);
}
