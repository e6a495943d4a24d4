#pragma once
#include "Colors.h"
#include "SettledHide.h"

#include <QDialog>
#include <array>
#include <functional>

class HistoryReader;
struct PracticeRecord;
class MoreSettingsDlg;
class PaceChoice;
class ProgressPage;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TPanel;

// The settings and records dialog: settings, records, mistype map, finger colours.
// Created once and only shown and hidden; every showing refills its pages from the
// main window's record, which it reads and changes in place.
class TPagesDlg : public SettledHide<QDialog> {
    Q_OBJECT
public:
    explicit TPagesDlg(PracticeRecord& record, QWidget* parent = nullptr);

    // The run history; null when there is none. The progress page reads it, and it
    // holds the settings the record has no room for.
    void setHistory(HistoryReader* history);
    // The weak-key lesson button: asks the main window for the lesson and closes the
    // dialog when it is ready; without one the dialog stays and the hook has said why.
    void weakLessonClick();
    std::function<bool(QWidget* parent)> weakLessonWanted;

    // Fills the four pages from the record: settings, records, colour panels, mistype map.
    void onShow();
    void OKBtnClick();
    void ClearClick();
    void K1MouseMove(TPanel* key);
    void TabSheet3MouseMove();
    void pnAClick(TPanel* panel);
    // Opens the settings beyond the pages.
    void moreClick();

    // The colour a mistype-map key takes for its tries and misses.
    static TColor mistypeColor(int tries, int misses);

    TPanel *Panel1, *Panel2;
    QTabWidget* PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4;
    QPushButton *OKBtn, *CancelBtn, *HelpBtn, *MoreBtn;
    MoreSettingsDlg* more = nullptr; // made at its first opening

    // Settings page.
    QGroupBox *GroupBox2, *GroupBox1, *GroupBox3;
    QRadioButton *rbBegin, *rbSecond, *rbSinner, *rbGuideY, *rbGuideN;
    QCheckBox *cbAline, *cbQline, *cbZline, *cb1line;
    QCheckBox *cbWeakKeys, *cbKanaInput;
    QSpinBox *spCourseSpeed, *spCourseAccuracy;
    PaceChoice* pace;

    // Records page.
    TPanel *pnFastTime, *pnAvrTime, *pnCurTime, *pnAllChar, *pnAllMissType;
    QPushButton* Clear;

    // Mistype map page.
    std::array<TPanel*, 48> keys{};
    TPanel* Disp;

    // Finger colour page.
    TPanel *pnA, *pnS, *pnD, *pnF, *pnSPl, *pnSPr, *pnJ, *pnK, *pnL, *pnP;

    // Progress page, after the four of the design.
    ProgressPage* TabSheet5;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void createFrame();
    void createSettingsPage();
    void createRecordsPage();
    void createMistypePage();
    void createColorPage();
    void fillSettingsPage();
    void showTargets();
    void fillRecordsPage();
    void fillColorPanels();
    void fillMistypeMap();

    PracticeRecord& record_;
    HistoryReader* history_ = nullptr;
    // The picker opens on the colour chosen last in this run (black at first).
    TColor lastPicked_ = clBlack;
};

// Sets a control's hint; it shows as a tooltip only where hints are on.
void setDesignHint(QWidget* w, const QString& hint, bool show);
