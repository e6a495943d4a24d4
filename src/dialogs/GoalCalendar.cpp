#include "GoalCalendar.h"

#include "HistoryTypes.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

// 53 columns of 6 pixels leave room at the left for the weekdays' initials.
constexpr int kLeft = 16;
constexpr int kTop = 14;
constexpr int kPitch = 6;
constexpr int kCell = 5;
constexpr int kLegendTop = kTop + 7 * kPitch + 6;

const char* const kMonths[12] = {
    QT_TRANSLATE_NOOP("GoalCalendar", "1月"),  QT_TRANSLATE_NOOP("GoalCalendar", "2月"),
    QT_TRANSLATE_NOOP("GoalCalendar", "3月"),  QT_TRANSLATE_NOOP("GoalCalendar", "4月"),
    QT_TRANSLATE_NOOP("GoalCalendar", "5月"),  QT_TRANSLATE_NOOP("GoalCalendar", "6月"),
    QT_TRANSLATE_NOOP("GoalCalendar", "7月"),  QT_TRANSLATE_NOOP("GoalCalendar", "8月"),
    QT_TRANSLATE_NOOP("GoalCalendar", "9月"),  QT_TRANSLATE_NOOP("GoalCalendar", "10月"),
    QT_TRANSLATE_NOOP("GoalCalendar", "11月"), QT_TRANSLATE_NOOP("GoalCalendar", "12月")};

// From no practice to the most, light grey to deep green.
const QColor kShades[5] = {QColor(232, 232, 232), QColor(190, 230, 165), QColor(120, 200, 105),
                           QColor(40, 160, 60), QColor(15, 95, 35)};
const QColor kMetFrame(235, 85, 0);

void drawCell(QPainter& p, const QRect& r, int shade, bool met) {
    p.fillRect(r, kShades[shade]);
    if (!met) return;
    p.setPen(kMetFrame);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

QLabel* line(QWidget* parent, const char* name, int top) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(kLeft, top, 262, 17);
    return l;
}

} // namespace

GoalCalendar::GoalCalendar(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    lbCurrent = line(this, "lbCurrentStreak", kLegendTop + 18);
    lbLongest = line(this, "lbLongestStreak", kLegendTop + 36);
    lbToday = line(this, "lbTodayGoal", kLegendTop + 54);
    fill();
}

void GoalCalendar::setHistory(HistoryReader* reader) {
    reader_ = reader;
    if (isVisible()) fill();
}

void GoalCalendar::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) fill();
    QWidget::showEvent(e);
}

void GoalCalendar::hideEvent(QHideEvent* e) {
    hovered_ = QDate();
    emit hovered(QString());
    QWidget::hideEvent(e);
}

int GoalCalendar::shade(double seconds) {
    if (seconds <= 0) return 0;
    const double minutes = seconds / 60;
    return minutes < 5 ? 1 : minutes < 15 ? 2 : minutes < 30 ? 3 : 4;
}

bool GoalCalendar::metGoal(const QDate& day) const {
    return goal_ > 0 && goal::counts(secondsOn(day), goal_);
}

void GoalCalendar::fill() {
    today_ = goal::localToday();
    // Columns are weeks from Sunday; the last holds today.
    first_ = today_.addDays(-(today_.dayOfWeek() % 7) - 7 * (kWeeks - 1));
    goal_ = goal::minutesOf(reader_ ? reader_->setting(goal::kMinutesSetting) : QString());
    // The longest streak may lie before the year shown: every day is read.
    days_ = reader_ ? reader_->dailySeconds(QDate(), today_) : QMap<QDate, double>();
    streaks_ = goal::streaks(days_, goal_, today_);
    // A history that could not be read is no year without practice.
    if (reader_ && !reader_->cannotRead().isEmpty()) {
        days_.clear();
        lbCurrent->setText(tr("成績履歴を表示できません"));
        lbLongest->clear();
        lbToday->clear();
        update();
        return;
    }

    if (streaks_.current == 0)
        lbCurrent->setText(tr("いまは連続していません"));
    else if (streaks_.throughToday)
        lbCurrent->setText(tr("今日まで %1 日連続").arg(streaks_.current));
    else
        lbCurrent->setText(tr("昨日まで %1 日連続").arg(streaks_.current));
    lbLongest->setText(tr("最長の連続: %1 日").arg(streaks_.longest));
    const int today = int(secondsOn(today_) / 60);
    if (goal_ <= 0)
        lbToday->setText(tr("今日 %1 分（目標なし: 練習した日を数えます）").arg(today));
    else if (metGoal(today_))
        lbToday->setText(tr("今日 %1 分（目標 %2 分を達成）").arg(today).arg(goal_));
    else
        lbToday->setText(tr("今日 %1 分（目標 %2 分まであと %3 分）")
                             .arg(today)
                             .arg(goal_)
                             .arg(goal::minutesLeft(secondsOn(today_), goal_)));
    update();
}

QRect GoalCalendar::cellRect(const QDate& day) const {
    const qint64 n = first_.daysTo(day);
    if (n < 0 || day > today_) return {};
    return QRect(kLeft + int(n / 7) * kPitch, kTop + int(n % 7) * kPitch, kCell, kCell);
}

QDate GoalCalendar::dayAt(const QPoint& pos) const {
    const int x = pos.x() - kLeft, y = pos.y() - kTop;
    if (x < 0 || y < 0 || x >= kWeeks * kPitch || y >= 7 * kPitch) return {};
    const QDate d = first_.addDays(x / kPitch * 7 + y / kPitch);
    return d <= today_ ? d : QDate();
}

QString GoalCalendar::describe(const QDate& day) const {
    const double s = secondsOn(day);
    const QString date = day.toString(QStringLiteral("yyyy/MM/dd"));
    if (s <= 0) return tr("%1 練習なし").arg(date);
    const QString minutes = s < 60 ? tr("1分未満") : tr("%1分").arg(int(s / 60));
    return metGoal(day) ? tr("%1 練習 %2（目標達成）").arg(date, minutes)
                        : tr("%1 練習 %2").arg(date, minutes);
}

void GoalCalendar::mouseMoveEvent(QMouseEvent* e) {
    const QDate d = dayAt(e->position().toPoint());
    if (d != hovered_) {
        hovered_ = d;
        emit hovered(d.isValid() ? describe(d) : QString());
    }
    QWidget::mouseMoveEvent(e);
}

void GoalCalendar::leaveEvent(QEvent* e) {
    hovered_ = QDate();
    emit hovered(QString());
    QWidget::leaveEvent(e);
}

void GoalCalendar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    p.setPen(palette().color(QPalette::WindowText));
    // A month's name over the column that holds its first day, when there is room for
    // it after the last one.
    int lastRight = -1;
    for (int c = 0; c < kWeeks; ++c) {
        const QDate bottom = first_.addDays(7 * c + 6);
        if (bottom.day() > 7) continue;
        const int x = kLeft + c * kPitch;
        if (x <= lastRight) continue;
        const QString name = tr(kMonths[bottom.month() - 1]);
        p.drawText(x, kTop - 3, name);
        lastRight = x + p.fontMetrics().horizontalAdvance(name) + 2;
    }
    const char* const weekdays[3] = {QT_TR_NOOP("月"), QT_TR_NOOP("水"), QT_TR_NOOP("金")};
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(0, kTop + (1 + 2 * i) * kPitch - 2, kLeft - 2, kPitch + 4),
                   Qt::AlignRight | Qt::AlignVCenter, tr(weekdays[i]));

    for (QDate d = first_; d <= today_; d = d.addDays(1))
        drawCell(p, cellRect(d), shade(secondsOn(d)), metGoal(d));

    // The legend: the shades from least to most, and the goal's frame.
    int x = kLeft;
    const auto word = [&](const QString& text) {
        p.setPen(palette().color(QPalette::WindowText));
        const int w = p.fontMetrics().horizontalAdvance(text);
        p.drawText(QRect(x, kLegendTop - 3, w, 11), Qt::AlignVCenter, text);
        x += w + 3;
    };
    word(tr("少"));
    for (int s = 0; s < 5; ++s, x += kPitch)
        drawCell(p, QRect(x, kLegendTop, kCell, kCell), s, false);
    x += 1;
    word(tr("多"));
    if (goal_ > 0) {
        x += 12;
        drawCell(p, QRect(x, kLegendTop, kCell, kCell), 3, true);
        x += kPitch + 2;
        word(tr("目標を達成した日"));
    }
}
