#include "ProgressPage.h"

#include "ClassPanel.h"
#include "CoursePanel.h"
#include "DesignTable.h"
#include "GoalCalendar.h"
#include "GradesPanel.h"
#include "HistoryTypes.h"
#include "KeyTable.h"
#include "Platform.h"
#include "ProgressChart.h"
#include "WeakKeys.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

QString keyCaption(int vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return QString(QChar(vk));
    switch (vk) {
    case vkReturn:
        return QStringLiteral("Enter");
    case vkSpace:
        return QStringLiteral("Space");
    case vkBack:
        return QStringLiteral("BS");
    case vkTab:
        return QStringLiteral("Tab");
    default:
        break;
    }
    for (char c = '!'; c <= '~'; ++c)
        if (punctuationKeyCode(c) == vk) return QString(QLatin1Char(c));
    return QStringLiteral("#%1").arg(vk);
}

ProgressPage::ProgressPage(QWidget* parent) : QWidget(parent) {
    chart = new ProgressChart(this);
    chart->setObjectName(QStringLiteral("Chart"));
    chart->setGeometry(2, 2, 166, 164);

    // The panels' names begin with "pn" so the mistype map never takes a one-letter
    // key caption here for one of its keys.
    PanelLook row;
    row.inner = bvRaised;
    row.outer = bvLowered;
    row.color = 0x0080FFFF;
    row.fontFamily = kPGothic;
    row.fontHeight = 11;
    makeLabel(this, "lbWeak", QRect(172, 1, 0, 0), tr("苦手なキー"));
    makeLabel(this, "lbSlow", QRect(286, 1, 0, 0), tr("遅いキー"));
    for (int i = 0; i < 5; ++i) {
        const int top = 16 + 16 * i;
        weakKeys[std::size_t(i)] =
            makePanel(this, QByteArray("pnWeak" + QByteArray::number(i + 1)).constData(),
                      QRect(171, top, 112, 16), QString(), row);
        slowKeys[std::size_t(i)] =
            makePanel(this, QByteArray("pnSlow" + QByteArray::number(i + 1)).constData(),
                      QRect(285, top, 66, 16), QString(), row);
        weakKeys[std::size_t(i)]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        weakKeys[std::size_t(i)]->setLabel(tr("苦手なキー %1").arg(i + 1));
        slowKeys[std::size_t(i)]->setLabel(tr("遅いキー %1").arg(i + 1));
    }

    const auto button = [this](const char* name, const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(171, top, 180, 22);
        return b;
    };
    // Export and delete share a row; the one below holds the views' buttons.
    exportBtn = button("btnExport", tr("CSVに書き出す"), 98);
    exportBtn->resize(89, 22);
    connect(exportBtn, &QPushButton::clicked, this, &ProgressPage::exportClick);
    deleteBtn = button("btnDeleteHistory", tr("履歴を消す"), 98);
    deleteBtn->setGeometry(262, 98, 89, 22);
    connect(deleteBtn, &QPushButton::clicked, this, &ProgressPage::deleteClick);
    // The dialog connects it: the lesson runs in the main window once the dialog closes.
    weakBtn = button("btnWeakLesson", tr("苦手キーで練習"), 146);
    weakBtn->resize(112, 22);

    PanelLook disp;
    disp.inner = bvLowered;
    disp.outer = bvLowered;
    disp.borderWidth = 1;
    disp.border = bsSingle;
    disp.color = clWhite;
    detail = makePanel(this, "pnDetail", QRect(2, 170, 349, 21), QString(), disp);
    detail->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    detail->setLabel(tr("詳細"));
    chart->setDetailSpace(detail->font(), detail->width() - 8);
    connect(chart, &ProgressChart::hovered, this, &ProgressPage::showSummary);

    course = new CoursePanel(this);
    course->setObjectName(QStringLiteral("CoursePanel"));
    course->setGeometry(0, 0, 351, 168);
    course->hide();
    courseBtn = new QPushButton(tr("コース"), this);
    courseBtn->setObjectName(QStringLiteral("btnCourse"));
    courseBtn->setGeometry(287, 146, 64, 22);
    courseBtn->setCheckable(true);
    courseBtn->setToolTip(tr("コースのキーの成績と解放の推移を表示します"));
    views_.push_back({courseBtn, course});
    connect(courseBtn, &QPushButton::toggled, this,
            [this](bool on) { showView(courseBtn, course, on); });

    // The views, left to right.
    gradesView = new GradesPanel(this);
    gradesView->setObjectName(QStringLiteral("GradesPanel"));
    addView("btnGrades", tr("段級"), tr("段級の表と取得した級、次の級までを表示します"),
            gradesView);
    calendar = new GoalCalendar;
    calendar->setObjectName(QStringLiteral("GoalCalendar"));
    calendarBtn = addView("btnCalendar", tr("練習日"),
                          tr("この1年の練習した日と毎日の目標の達成を表示します"), calendar);
    connect(calendar, &GoalCalendar::hovered, this, &ProgressPage::showSummary);
    classPanel = new ClassPanel;
    classBtn =
        addView("btnClass", tr("クラス"), tr("クラスの学習者の進み具合を表示します"), classPanel);

    refresh();
}

QPushButton* ProgressPage::addView(const char* name, const QString& caption, const QString& hint,
                                   QWidget* panel) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setCheckable(true);
    b->setToolTip(hint);
    panel->setParent(this);
    panel->setGeometry(course->geometry());
    panel->hide();
    b->setProperty("shown", true);
    views_.push_back({b, panel});
    connect(b, &QPushButton::toggled, this, [this, b, panel](bool on) { showView(b, panel, on); });
    placeViews();
    return b;
}

void ProgressPage::placeViews() {
    std::vector<QPushButton*> shown;
    for (const View& v : views_)
        if (v.button != courseBtn && v.button->property("shown").toBool())
            shown.push_back(v.button);
    const int n = int(shown.size());
    for (int i = 0; i < n; ++i) {
        const int left = 171 + 182 * i / n;
        shown[std::size_t(i)]->setGeometry(left, 122, 171 + 182 * (i + 1) / n - left - 2, 22);
    }
}

void ProgressPage::setViewShown(QPushButton* button, bool shown) {
    if (!shown) button->setChecked(false);
    button->setProperty("shown", shown);
    button->setVisible(shown);
    placeViews();
}

void ProgressPage::showView(QPushButton* button, QWidget* panel, bool on) {
    if (on)
        for (const View& v : views_)
            if (v.button != button && v.button->isChecked()) v.button->setChecked(false);
    bool anyDown = false;
    for (const View& v : views_) anyDown = anyDown || v.button->isChecked();
    const auto isViewPart = [this](QWidget* w) {
        if (w == detail) return true;
        for (const View& v : views_)
            if (w == v.button || w == v.panel) return true;
        return false;
    };
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!isViewPart(w)) w->setVisible(!anyDown);
    // A view down covers the page but for its own button, in the course button's place,
    // which brings the page back; the others wait in their row.
    placeViews();
    for (const View& v : views_) {
        v.panel->setVisible(v.button->isChecked());
        if (v.button == courseBtn) {
            courseBtn->setVisible(!anyDown || courseBtn->isChecked());
        } else if (v.button->property("shown").toBool()) {
            v.button->setVisible(!anyDown || v.button->isChecked());
            if (v.button->isChecked()) v.button->setGeometry(courseBtn->geometry());
        }
        v.button->raise();
    }
    Q_UNUSED(panel);
}

void ProgressPage::setHistory(HistoryReader* reader) {
    reader_ = reader;
    course->setHistory(reader);
    gradesView->setHistory(reader);
    calendar->setHistory(reader);
    if (isVisible()) refresh();
}

void ProgressPage::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) refresh();
    QWidget::showEvent(e);
}

void ProgressPage::refresh() {
    // The class's view is a teacher's only.
    const QString teacher = reader_ ? reader_->setting(QStringLiteral("class.teacher")) : QString();
    classPanel->setService(teacher);
    setViewShown(classBtn, !teacher.isEmpty());
    const qint64 runs = reader_ ? reader_->runCount() : 0;
    if (runs > kRunsShown) {
        chart->showDays(reader_->days());
        switch (chart->span()) {
        case ProgressChart::Span::Week:
            summary_ = tr(" 週ごとの平均（全%1回）").arg(runs);
            break;
        case ProgressChart::Span::Month:
            summary_ = tr(" 月ごとの平均（全%1回）").arg(runs);
            break;
        default:
            summary_ = tr(" 日ごとの平均（全%1回）").arg(runs);
            break;
        }
    } else {
        chart->showRuns(reader_ ? reader_->lastRuns(kRunsShown) : QList<HistoryRun>());
        summary_ = runs > 0 ? tr(" 全%1回の記録").arg(runs) : tr(" 成績履歴はまだありません");
    }
    if (runs > 0) summary_ += tr("　点に合わせると詳しく表示します");
    fillKeyLists();
    // Nothing read is not the same as no history: the chart's place says why, in full,
    // and the line below only that nothing can be shown.
    const QString unread = reader_ ? reader_->cannotRead() : QString();
    if (!unread.isEmpty()) {
        chart->showRuns({});
        summary_ = tr(" 成績履歴を表示できません");
    }
    chart->setNotice(unread);
    const QString locked = reader_ ? reader_->cannotWrite() : QString();
    exportBtn->setEnabled(runs > 0);
    deleteBtn->setEnabled(runs > 0 && locked.isEmpty());
    deleteBtn->setToolTip(locked);
    showSummary(QString());
    // A screen reader has the chart in words, with the weakest keys beside it.
    QStringList weakest;
    for (const TPanel* p : weakKeys)
        if (!p->caption().trimmed().isEmpty()) weakest << p->caption().trimmed();
    QString words = chart->summary();
    if (!weakest.isEmpty()) words += tr("苦手なキーは%1。").arg(weakest.join(tr("、")));
    chart->setAccessibleName(tr("成績のグラフ"));
    chart->setAccessibleDescription(words.isEmpty() ? summary_.trimmed() : words);
}

namespace {
// What was pressed instead of a weak key: another key, or the key itself with Shift wrong.
QString standIn(const HistoryKey& k) {
    if (k.topTyped == 0) return QString();
    if (k.topTyped == k.vk && k.topShift == 1)
        return QCoreApplication::translate("ProgressPage", "Shiftなし");
    if (k.topTyped == k.vk && k.topShift == 2)
        return QCoreApplication::translate("ProgressPage", "Shift付き");
    return keyCaption(k.topTyped);
}
} // namespace

void ProgressPage::fillKeyLists() {
    QList<HistoryKey> keys = reader_ ? reader_->keyFigures(kKeyRuns) : QList<HistoryKey>();
    keys.removeIf([](const HistoryKey& k) { return k.presses() + k.missed <= 0; });

    // Ranked by the rate the presses bear out, so a key missed twice in three presses
    // does not top one missed 80 % of 200 times; shown with its plain rate.
    QList<HistoryKey> weak = keys;
    weak.removeIf([](const HistoryKey& k) { return k.missed <= 0; });
    // Ties go to the key missed more often, then to key order.
    std::stable_sort(weak.begin(), weak.end(), [](const HistoryKey& a, const HistoryKey& b) {
        const double ra = missEvidence(a.presses(), a.missed),
                     rb = missEvidence(b.presses(), b.missed);
        return ra != rb ? ra > rb : a.missed > b.missed;
    });
    for (int i = 0; i < 5; ++i) {
        QString text;
        if (i < weak.size()) {
            const HistoryKey& k = weak[i];
            text = QStringLiteral(" %1 %2%").arg(keyCaption(k.vk)).arg(qRound(k.missRate() * 100));
            if (const QString s = standIn(k); !s.isEmpty()) text += QStringLiteral(" →") + s;
        }
        weakKeys[std::size_t(i)]->setCaption(text);
    }

    // A time needs a few timed presses behind it before it can head the list.
    QList<HistoryKey> slow = keys;
    slow.removeIf([](const HistoryKey& k) { return k.timedPresses() <= 0; });
    const auto settled = [](const HistoryKey& k) { return k.timedPresses() >= kSlowPressesNeeded; };
    std::stable_sort(slow.begin(), slow.end(), [&](const HistoryKey& a, const HistoryKey& b) {
        if (settled(a) != settled(b)) return settled(a);
        return a.averageMs() > b.averageMs();
    });
    for (int i = 0; i < 5; ++i) {
        QString text;
        if (i < slow.size())
            text = QStringLiteral("%1 %2ms")
                       .arg(keyCaption(slow[i].vk))
                       .arg(qRound64(slow[i].averageMs()));
        slowKeys[std::size_t(i)]->setCaption(text);
    }
}

void ProgressPage::showSummary(const QString& hover) {
    detail->setCaption(hover.isEmpty() ? summary_ : QLatin1Char(' ') + hover);
}

void ProgressPage::exportClick() {
    if (!reader_) return;
    QString path = Platform::get().saveFile(this, tr("CSVファイル (*.csv)"),
                                            QStringLiteral("Velotap-history.csv"));
    if (path.isEmpty()) return;
    // A name typed without an extension gets the one the file is.
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    if (reader_->exportCsv(path)) return;
    // A history that could not be read says why (damaged, held by another program).
    const QString why = reader_->cannotRead();
    Platform::get().messageBox(this, why.isEmpty()
                                         ? tr("成績履歴を書き出せませんでした。")
                                         : tr("成績履歴を書き出せませんでした。%1").arg(why));
}

void ProgressPage::deleteClick() {
    if (!reader_ ||
        !Platform::get().confirm(
            this, tr("成績履歴をすべて消去します。コースも最初からになります。よろしいですか？")))
        return;
    if (!reader_->clear())
        Platform::get().messageBox(
            this, tr("成績履歴を消去できませんでした。履歴はそのまま残っています。"));
    refresh();
}
