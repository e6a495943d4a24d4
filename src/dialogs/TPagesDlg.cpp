#include "TPagesDlg.h"

#include "PaceChoice.h"

#include "CourseExercise.h"
#include "CoursePanel.h"
#include "DesignTable.h"
#include "Drill.h"
#include "HistoryTypes.h"
#include "JapaneseExercise.h"
#include "MoreSettingsDlg.h"
#include "Platform.h"
#include "PracticeRecord.h"
#include "ProgressPage.h"
#include "RecordFile.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>

void setDesignHint(QWidget* w, const QString& hint, bool show) {
    w->setProperty("hint", hint);
    // A control without a tooltip passes the hint request on to its parent, as the
    // hint of a page shows over its captionless children.
    w->setToolTip(show ? hint : QString());
}

TPagesDlg::TPagesDlg(PracticeRecord& record, QWidget* parent)
    : SettledHide(parent), record_(record) {
    createFrame();
    onShow();
}

void TPagesDlg::createFrame() {
    setUpFixedDialog(this, "PagesDlg", tr("各種設定・表示"), QSize(367, 263));

    PanelLook box;
    box.outer = bvNone;
    box.borderWidth = 5;
    Panel1 = makePanel(this, "Panel1", QRect(0, 0, 367, 228), QString(), box);

    PageControl1 = new QTabWidget(Panel1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(5, 5, 357, 218);
    const auto addPage = [this](const char* name, const QString& caption, const QString& hint,
                                bool hintOn) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        setDesignHint(page, hint, hintOn);
        PageControl1->addTab(page, caption);
        return page;
    };
    TabSheet1 = addPage("TabSheet1", tr("設定"), tr("練習の設定を行います"), false);
    createSettingsPage();
    TabSheet2 = addPage("TabSheet2", tr("記録表示"), tr("記録の表示を行います"), true);
    createRecordsPage();
    TabSheet3 =
        addPage("TabSheet3", tr("タイプミス一覧"), tr("タイムミスの一覧を表示します"), false);
    createMistypePage();
    TabSheet4 = addPage("TabSheet4", tr("色設定"), tr("キーボードの色を設定します"), true);
    createColorPage();
    TabSheet5 = new ProgressPage;
    TabSheet5->setObjectName(QStringLiteral("TabSheet5"));
    PageControl1->addTab(TabSheet5, tr("成績推移"));
    connect(TabSheet5->weakBtn, &QPushButton::clicked, this, &TPagesDlg::weakLessonClick);
    // The course's keys show against the targets as they are being set.
    for (QSpinBox* box : {spCourseSpeed, spCourseAccuracy})
        connect(box, &QSpinBox::valueChanged, this, &TPagesDlg::showTargets);
    // The first opening shows the mistype map; later ones the page last used.
    PageControl1->setCurrentWidget(TabSheet3);

    PanelLook strip;
    strip.outer = bvNone;
    Panel2 = makePanel(this, "Panel2", QRect(0, 228, 367, 35), QString(), strip);
    const auto addButton = [this](const char* name, const QString& caption, int left) {
        auto* b = new QPushButton(caption, Panel2);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, 2, 75, 25);
        return b;
    };
    OKBtn = addButton("OKBtn", QStringLiteral("OK"), 287);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TPagesDlg::OKBtnClick);
    CancelBtn = addButton("CancelBtn", tr("ｷｬﾝｾﾙ"), 91);
    CancelBtn->setVisible(false);
    HelpBtn = addButton("HelpBtn", tr("ﾍﾙﾌﾟ(&H)"), 171);
    HelpBtn->setVisible(false);
    // The settings the pages have no room for, in a dialog of their own.
    MoreBtn = new QPushButton(tr("その他の設定…"), Panel2);
    MoreBtn->setObjectName(QStringLiteral("btnMore"));
    MoreBtn->setGeometry(8, 2, 110, 25);
    MoreBtn->setAutoDefault(false);
    connect(MoreBtn, &QPushButton::clicked, this, &TPagesDlg::moreClick);
}

void TPagesDlg::moreClick() {
    if (!more) more = new MoreSettingsDlg(this);
    more->setHistory(history_);
    Platform::get().execDialog(more);
}

void TPagesDlg::onShow() {
    fillSettingsPage();
    fillRecordsPage();
    fillColorPanels();
    fillMistypeMap();
    showTargets();
}

void TPagesDlg::showTargets() {
    TabSheet5->course->setTargets(
        course::Targets{double(spCourseSpeed->value()), double(spCourseAccuracy->value())});
}

void TPagesDlg::OKBtnClick() {
    if (rbBegin->isChecked())
        record_.level = 0;
    else if (rbSecond->isChecked())
        record_.level = 1;
    else if (rbSinner->isChecked())
        record_.level = 2;
    record_.rowSet.clear();
    if (cbAline->isChecked()) record_.rowSet.include(rowA);
    if (cbQline->isChecked()) record_.rowSet.include(rowQ);
    if (cbZline->isChecked()) record_.rowSet.include(rowZ);
    if (cb1line->isChecked()) record_.rowSet.include(rowNumber);
    record_.guideOn = rbGuideY->isChecked() ? 1 : 0;
    saveRecord(record_, this);
    if (history_) {
        // Only a change is written: an untouched setting leaves the history alone.
        for (const auto& [box, key] :
             {std::pair{cbWeakKeys, kWeakKeysSetting}, std::pair{cbKanaInput, kKanaInputSetting}}) {
            const QString value = box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
            if (value != history_->setting(key, QStringLiteral("0")))
                history_->setSetting(key, value);
        }
        for (const auto& [box, key, kept] :
             {std::tuple{spCourseSpeed, kCourseSpeedSetting,
                         QString::number(course::Targets{}.perMinute)},
              std::tuple{spCourseAccuracy, kCourseAccuracySetting,
                         QString::number(course::Targets{}.accuracy)}}) {
            const QString value = QString::number(box->value());
            if (box->isEnabled() && value != history_->setting(key, kept))
                history_->setSetting(key, value);
        }
        pace->save(history_);
    }
    accept();
}

void TPagesDlg::setHistory(HistoryReader* history) {
    history_ = history;
    TabSheet5->setHistory(history);
    fillSettingsPage();
}

void TPagesDlg::weakLessonClick() {
    if (weakLessonWanted && weakLessonWanted(this)) accept();
}

void TPagesDlg::ClearClick() {
    record_.resetStatistics();
    onShow();
}

void TPagesDlg::showEvent(QShowEvent* e) {
    // A window system's own show (after a restore) is no new opening.
    if (!e->spontaneous()) {
        centreOnScreen(this);
        onShow();
    }
    QDialog::showEvent(e);
}

bool TPagesDlg::eventFilter(QObject* watched, QEvent* e) {
    if (watched == TabSheet3 && e->type() == QEvent::MouseMove) TabSheet3MouseMove();
    return QDialog::eventFilter(watched, e);
}
