#include "ProgressChart.h"

#include "Fonts.h"

#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <qdrawutil.h>

namespace {

struct Series {
    const char* mode;
    const char* caption;
    QColor colour;
};

// The modes the history stores, in legend order; anything else draws as the last.
const Series kSeries[] = {
    {"lesson", QT_TRANSLATE_NOOP("ProgressChart", "レッスン"), QColor(0, 0, 200)},
    {"text", QT_TRANSLATE_NOOP("ProgressChart", "テキスト"), QColor(0, 128, 0)},
    {"drill", QT_TRANSLATE_NOOP("ProgressChart", "ドリル"), QColor(208, 112, 0)},
    {"weak", QT_TRANSLATE_NOOP("ProgressChart", "苦手キー"), QColor(170, 0, 170)},
    {"japanese", QT_TRANSLATE_NOOP("ProgressChart", "日本語"), QColor(0, 140, 160)},
    {"", QT_TRANSLATE_NOOP("ProgressChart", "その他"), QColor(110, 110, 110)},
};
constexpr int kSeriesCount = int(std::size(kSeries));
const QColor kMissColour(210, 0, 0);
constexpr int kReach = 6; // how near the mouse must come to a point

int seriesOf(const QString& mode) {
    for (int i = 0; i + 1 < kSeriesCount; ++i)
        if (mode == QLatin1String(kSeries[i].mode)) return i;
    return kSeriesCount - 1;
}

// A round step that divides 0..max into about four parts, and the top it reaches.
std::pair<double, double> niceAxis(double max, double least) {
    max = std::max(max, least);
    const double raw = max / 4;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * mag;
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * mag >= raw) {
            step = m * mag;
            break;
        }
    return {std::ceil(max / step - 1e-9) * step, step};
}

QString tick(double v) {
    return QString::number(v, 'g', 4);
}

QString speedText(double speed) {
    return ProgressChart::tr("%1打/秒").arg(QString::asprintf("%.2f", speed));
}

QFont chartFont() {
    return designFont(kPGothic, 11);
}

} // namespace

ProgressChart::ProgressChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFont(chartFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString ProgressChart::modeCaption(const QString& mode) {
    return tr(kSeries[seriesOf(mode)].caption);
}

void ProgressChart::showRuns(const QList<HistoryRun>& runs) {
    QList<Point> points;
    QList<MissPoint> misses;
    for (const HistoryRun& r : runs) {
        const double x = double(points.size());
        const QString details =
            tr("%1 %2 %3 %4 ミス%5")
                .arg(r.startedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd hh:mm")),
                     modeCaption(r.mode), r.source, speedText(r.speed))
                .arg(r.misses);
        points.append({x, r.speed, seriesOf(r.mode), details});
        // A run left before its first key has no miss rate.
        if (r.keys > 0) misses.append({x, double(r.misses) / double(r.keys)});
    }
    QStringList labels;
    if (!runs.isEmpty())
        for (const HistoryRun* r : {&runs.front(), &runs.back()})
            labels << r->startedAt.toLocalTime().toString(QStringLiteral("MM/dd"));
    byDay_ = false;
    setPoints(points, misses, labels);
}

void ProgressChart::showDays(const QList<HistoryDay>& days) {
    QList<Point> points;
    // The miss rate of a day covers all its modes.
    QMap<qint64, std::pair<qint64, qint64>> perDay;
    const QDate first = days.isEmpty() ? QDate() : days.front().day;
    for (const HistoryDay& d : days) {
        const double x = double(first.daysTo(d.day));
        const QString details =
            tr("%1 %2 %3回 平均%4 ミス%5")
                .arg(d.day.toString(QStringLiteral("yyyy/MM/dd")), modeCaption(d.mode))
                .arg(d.runs)
                .arg(speedText(d.speed))
                .arg(d.misses);
        points.append({x, d.speed, seriesOf(d.mode), details});
        auto& sum = perDay[first.daysTo(d.day)];
        sum.first += d.keys;
        sum.second += d.misses;
    }
    QList<MissPoint> misses;
    for (auto it = perDay.cbegin(); it != perDay.cend(); ++it)
        if (it->first > 0)
            misses.append({double(it.key()), double(it->second) / double(it->first)});
    QStringList labels;
    if (!days.isEmpty())
        for (const QDate& d : {days.front().day, days.back().day})
            labels << d.toString(QStringLiteral("yy/MM/dd"));
    byDay_ = true;
    setPoints(points, misses, labels);
}

void ProgressChart::setPoints(QList<Point> points, QList<MissPoint> misses, QStringList xLabels) {
    // A damaged row must not stretch the axes to infinity or below zero.
    for (Point& p : points)
        if (!std::isfinite(p.speed) || p.speed < 0) p.speed = 0;
    misses.removeIf([](const MissPoint& m) { return !std::isfinite(m.rate) || m.rate < 0; });
    points_ = std::move(points);
    misses_ = std::move(misses);
    xLabels_ = std::move(xLabels);
    xMax_ = 0;
    double speedMax = 0, missMax = 0;
    for (const Point& p : points_) {
        xMax_ = std::max(xMax_, p.x);
        speedMax = std::max(speedMax, p.speed);
    }
    for (const MissPoint& m : misses_) missMax = std::max(missMax, m.rate * 100);
    std::tie(speedTop_, speedStep_) = niceAxis(speedMax, 1);
    std::tie(missTop_, missStep_) = niceAxis(missMax, 10);
    hover_ = -1;
    relayout();
    update();
}

QStringList ProgressChart::legend() const {
    QStringList captions;
    for (const LegendItem& item : legend_)
        if (!item.dashed) captions << item.caption;
    return captions;
}

void ProgressChart::relayout() {
    const QFontMetrics fm(font());
    const QRect inner = rect().adjusted(4, 3, -4, -3);
    // The legend flows over as many lines as it needs: the modes present, then the
    // miss rate.
    legend_.clear();
    bool present[kSeriesCount] = {};
    for (const Point& p : points_) present[p.series] = true;
    for (int i = 0; i < kSeriesCount; ++i)
        if (present[i]) legend_.append({{}, tr(kSeries[i].caption), kSeries[i].colour, false});
    if (!misses_.isEmpty()) legend_.append({{}, tr("ミス率"), kMissColour, true});
    int x = inner.left(), y = inner.top();
    for (LegendItem& item : legend_) {
        const int w = 16 + fm.horizontalAdvance(item.caption);
        if (x > inner.left() && x + w > inner.right()) {
            x = inner.left();
            y += fm.height();
        }
        item.rect = QRect(x, y, w, fm.height());
        x += w + 6;
    }
    unitTop_ = y + fm.height();
    const int leftLabels = fm.horizontalAdvance(tick(speedTop_ - speedStep_ / 2)) + 4;
    const int rightLabels = fm.horizontalAdvance(tick(missTop_)) + 4;
    const int left =
        inner.left() + std::max(leftLabels, fm.horizontalAdvance(QStringLiteral("0.00")));
    const int right = inner.right() - rightLabels;
    const int top = unitTop_ + fm.height() + fm.height() / 2;
    const int bottom = inner.bottom() - fm.height() - 2;
    plot_ = QRect(QPoint(left, top), QPoint(right, std::max(top + 10, bottom)));
}

QPointF ProgressChart::at(double x, double value, double top) const {
    const double fx = xMax_ > 0 ? x / xMax_ : 0.5;
    return {plot_.left() + fx * plot_.width(), plot_.bottom() - value / top * plot_.height()};
}

QPoint ProgressChart::pointPos(int i) const {
    return at(points_.at(i).x, points_.at(i).speed, speedTop_).toPoint();
}

int ProgressChart::pointAt(const QPoint& pos) const {
    int best = -1;
    double bestDist = kReach * kReach + 1;
    for (int i = 0; i < points_.size(); ++i) {
        const QPointF d = at(points_[i].x, points_[i].speed, speedTop_) - QPointF(pos);
        const double dist = d.x() * d.x() + d.y() * d.y();
        if (dist < bestDist) {
            bestDist = dist;
            best = i;
        }
    }
    return best;
}

QString ProgressChart::detailsAt(const QPoint& pos) const {
    const int i = pointAt(pos);
    return i < 0 ? QString() : points_[i].details;
}

void ProgressChart::mouseMoveEvent(QMouseEvent* e) {
    const int i = pointAt(e->position().toPoint());
    if (i != hover_) {
        hover_ = i;
        update();
        emit hovered(i < 0 ? QString() : points_[i].details);
    }
    QWidget::mouseMoveEvent(e);
}

void ProgressChart::leaveEvent(QEvent* e) {
    if (hover_ >= 0) {
        hover_ = -1;
        update();
        emit hovered(QString());
    }
    QWidget::leaveEvent(e);
}

void ProgressChart::resizeEvent(QResizeEvent* e) {
    relayout();
    QWidget::resizeEvent(e);
}

void ProgressChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Framed as the page's detail line is: a dark line around a lowered bevel.
    p.fillRect(rect(), Qt::white);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    qDrawShadePanel(&p, rect().adjusted(1, 1, -1, -1), palette(), true, 1);
    const QFontMetrics fm(font());
    const QColor text = Qt::black;
    const QColor grid(224, 224, 224);

    // Axes: speed ticks at the left with grid lines, miss-rate ticks at the right.
    p.setPen(text);
    p.drawText(QRect(plot_.left() - 30, unitTop_, 60, fm.height()), Qt::AlignCenter, tr("打/秒"));
    p.setPen(kMissColour);
    p.drawText(QRect(plot_.right() - 30, unitTop_, 60, fm.height()), Qt::AlignCenter, tr("ミス%"));
    const int steps = int(std::lround(speedTop_ / speedStep_));
    for (int i = 0; i <= steps; ++i) {
        const int y = int(at(0, i * speedStep_, speedTop_).y());
        p.setPen(grid);
        if (i > 0) p.drawLine(plot_.left() + 1, y, plot_.right() - 1, y);
        p.setPen(text);
        p.drawText(QRect(0, y - fm.height() / 2, plot_.left() - 3, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, tick(i * speedStep_));
    }
    const int missSteps = int(std::lround(missTop_ / missStep_));
    p.setPen(kMissColour);
    for (int i = 0; i <= missSteps; ++i) {
        const int y = int(at(0, i * missStep_, missTop_).y());
        p.drawLine(plot_.right(), y, plot_.right() + 2, y);
        p.drawText(QRect(plot_.right() + 4, y - fm.height() / 2, width(), fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, tick(i * missStep_));
    }
    p.setPen(QColor(96, 96, 96));
    p.drawRect(plot_);
    p.setPen(text);
    if (!xLabels_.isEmpty()) {
        const QRect band(plot_.left(), plot_.bottom() + 2, plot_.width(), fm.height());
        p.drawText(band, Qt::AlignLeft | Qt::AlignTop, xLabels_.front());
        if (xMax_ > 0) p.drawText(band, Qt::AlignRight | Qt::AlignTop, xLabels_.back());
    }
    if (points_.isEmpty()) p.drawText(plot_, Qt::AlignCenter, tr("記録がまだありません"));

    // Legend.
    for (const LegendItem& item : legend_) {
        const int y = item.rect.center().y();
        QPen pen(item.colour, item.dashed ? 1 : 2);
        if (item.dashed) pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.drawLine(item.rect.left(), y, item.rect.left() + 12, y);
        p.setPen(text);
        p.drawText(item.rect.adjusted(15, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, item.caption);
    }

    p.setClipRect(plot_.adjusted(-3, -3, 3, 3));
    p.setRenderHint(QPainter::Antialiasing);
    if (misses_.size() > 1) {
        QPainterPath path;
        for (int i = 0; i < misses_.size(); ++i) {
            const QPointF q = at(misses_[i].x, misses_[i].rate * 100, missTop_);
            i == 0 ? path.moveTo(q) : path.lineTo(q);
        }
        QPen pen(kMissColour, 1, Qt::DashLine);
        p.strokePath(path, pen);
    }
    // Dots only where they stay apart.
    const bool dots = points_.size() <= 60;
    for (int s = 0; s < kSeriesCount; ++s) {
        QPainterPath path;
        bool started = false;
        for (const Point& pt : points_) {
            if (pt.series != s) continue;
            const QPointF q = at(pt.x, pt.speed, speedTop_);
            started ? path.lineTo(q) : path.moveTo(q);
            started = true;
            if (dots) path.addEllipse(q, 1.6, 1.6), path.moveTo(q);
        }
        if (started) p.strokePath(path, QPen(kSeries[s].colour, dots ? 1.5 : 1.0));
    }
    if (hover_ >= 0) {
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(pointPos(hover_)), 4, 4);
    }
}
