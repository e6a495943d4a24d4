#include "ProgressChart.h"

#include "Fonts.h"

#include <QLabel>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

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
    {"course", QT_TRANSLATE_NOOP("ProgressChart", "コース"), QColor(150, 110, 30)},
    {"", QT_TRANSLATE_NOOP("ProgressChart", "その他"), QColor(110, 110, 110)},
};
constexpr int kSeriesCount = int(std::size(kSeries));
const QColor kMissColour(210, 0, 0);
const QColor kRhythmColour(60, 60, 60);
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

double meanSpeed(const std::vector<double>& speeds, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += speeds[i];
    return to > from ? sum / double(to - from) : 0.0;
}

QFont chartFont() {
    return designFont(kPGothic, 11);
}

} // namespace

ProgressChart::ProgressChart(QWidget* parent) : QWidget(parent), notice_(new QLabel(this)) {
    setMouseTracking(true);
    setFont(chartFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    notice_->setObjectName(QStringLiteral("lbChartNotice"));
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setWordWrap(true);
    notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
    setNotice(QString());
}

void ProgressChart::setNotice(const QString& why) {
    why_ = why;
    notice_->setText(why_.isEmpty() ? tr("記録がまだありません") : why_);
    fitNotice();
}

void ProgressChart::fitNotice() {
    // No axes without points: the words alone, clear of the frame.
    const QRect room = rect().adjusted(4, 4, -4, -4);
    notice_->setGeometry(room);
    notice_->setVisible(points_.isEmpty());
    // Wrapped at the words; one too long for the line, such as a file name, or too many
    // lines make the letters smaller, so nothing is cut.
    QFont f = font();
    const auto fits = [&](const QFont& font) {
        const QRect need = QFontMetrics(font, notice_)
                               .boundingRect(QRect(QPoint(), room.size()),
                                             Qt::AlignCenter | Qt::TextWordWrap, notice_->text());
        return need.width() <= room.width() && need.height() <= room.height();
    };
    while (!fits(f) && f.pixelSize() > 6) f.setPixelSize(f.pixelSize() - 1);
    notice_->setFont(f);
}

QString ProgressChart::modeCaption(const QString& mode) {
    return tr(kSeries[seriesOf(mode)].caption);
}

void ProgressChart::setDetailSpace(const QFont& font, int width) {
    detailFont_ = font;
    detailWidth_ = width;
}

void ProgressChart::showRuns(const QList<HistoryRun>& runs) {
    QList<Point> points;
    QList<MissPoint> misses, rhythm;
    for (const HistoryRun& r : runs) {
        const double x = double(points.size());
        const QString head = QStringLiteral("%1 %2 ").arg(
            r.startedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd hh:mm")),
            modeCaption(r.mode));
        const QString tail = tr(" %1 ミス%2").arg(speedText(r.speed)).arg(r.misses);
        points.append({x, r.speed, seriesOf(r.mode), head + tail, r.source, head.size()});
        // A run left before its first key has no miss rate.
        if (r.keys + r.misses > 0) misses.append({x, double(r.misses) / double(r.keys + r.misses)});
        if (r.rhythm) rhythm.append({x, *r.rhythm});
    }
    QStringList labels;
    if (!runs.isEmpty())
        for (const HistoryRun* r : {&runs.front(), &runs.back()})
            labels << r->startedAt.toLocalTime().toString(QStringLiteral("MM/dd"));
    span_ = Span::Run;
    setPoints(points, misses, rhythm, labels);
}

void ProgressChart::showDays(const QList<HistoryDay>& days) {
    QDate firstDay, lastDay; // a damaged row has no day
    for (const HistoryDay& d : days)
        if (d.day.isValid()) {
            if (!firstDay.isValid() || d.day < firstDay) firstDay = d.day;
            if (!lastDay.isValid() || d.day > lastDay) lastDay = d.day;
        }
    const qint64 reach = firstDay.isValid() ? firstDay.daysTo(lastDay) : 0;
    span_ = reach > kMonthsFrom ? Span::Month : reach > kWeeksFrom ? Span::Week : Span::Day;
    // The first day of the day's week (from Monday) or month.
    const auto bucketOf = [this](const QDate& d) {
        switch (span_) {
        case Span::Week:
            return d.addDays(1 - d.dayOfWeek());
        case Span::Month:
            return QDate(d.year(), d.month(), 1);
        default:
            return d;
        }
    };
    struct Sum {
        int runs = 0;
        double speedSum = 0;
        qint64 keys = 0, misses = 0;
        double rhythmSum = 0;
        int rhythmRuns = 0;
    };
    // By bucket, then series; the miss rate of a bucket covers all its modes.
    QMap<QDate, QMap<int, Sum>> sums;
    QMap<QDate, Sum> all;
    for (const HistoryDay& d : days) {
        if (!d.day.isValid()) continue;
        const QDate b = bucketOf(d.day);
        for (Sum* sum : {&sums[b][seriesOf(d.mode)], &all[b]}) {
            sum->runs += d.runs;
            sum->speedSum += d.speed * d.runs;
            sum->keys += d.keys;
            sum->misses += d.misses;
            if (d.rhythm) {
                sum->rhythmSum += *d.rhythm * d.rhythmRuns;
                sum->rhythmRuns += d.rhythmRuns;
            }
        }
    }
    const auto when = [this](const QDate& b, bool shortForm) {
        switch (span_) {
        case Span::Week:
            return shortForm ? b.toString(QStringLiteral("yy/MM/dd"))
                             : tr("%1の週").arg(b.toString(QStringLiteral("yyyy/MM/dd")));
        case Span::Month:
            return b.toString(shortForm ? QStringLiteral("yy/MM") : QStringLiteral("yyyy/MM"));
        default:
            return b.toString(shortForm ? QStringLiteral("yy/MM/dd")
                                        : QStringLiteral("yyyy/MM/dd"));
        }
    };
    QList<Point> points;
    QList<MissPoint> misses, rhythm;
    const QDate first = sums.isEmpty() ? QDate() : sums.firstKey();
    for (auto b = sums.cbegin(); b != sums.cend(); ++b) {
        const double x = double(first.daysTo(b.key()));
        for (auto m = b->cbegin(); m != b->cend(); ++m) {
            const Sum& sum = m.value();
            const double speed = sum.runs > 0 ? sum.speedSum / sum.runs : 0.0;
            const QString details = tr("%1 %2 %3回 平均%4 ミス%5")
                                        .arg(when(b.key(), false), tr(kSeries[m.key()].caption))
                                        .arg(sum.runs)
                                        .arg(speedText(speed))
                                        .arg(sum.misses);
            points.append({x, speed, m.key(), details, QString(), 0});
        }
        const Sum& a = all[b.key()];
        if (a.keys + a.misses > 0) misses.append({x, double(a.misses) / double(a.keys + a.misses)});
        if (a.rhythmRuns > 0) rhythm.append({x, a.rhythmSum / a.rhythmRuns});
    }
    QStringList labels;
    if (!sums.isEmpty()) labels << when(sums.firstKey(), true) << when(sums.lastKey(), true);
    setPoints(points, misses, rhythm, labels);
}

void ProgressChart::setPoints(QList<Point> points, QList<MissPoint> misses, QList<MissPoint> rhythm,
                              QStringList xLabels) {
    // A damaged row must not stretch the axes to infinity or below zero.
    for (Point& p : points)
        if (!std::isfinite(p.speed) || p.speed < 0) p.speed = 0;
    misses.removeIf([](const MissPoint& m) { return !std::isfinite(m.rate) || m.rate < 0; });
    points_ = std::move(points);
    misses_ = std::move(misses);
    rhythm.removeIf([](const MissPoint& m) { return !std::isfinite(m.rate); });
    for (MissPoint& m : rhythm) m.rate = std::clamp(m.rate, 0.0, 100.0);
    rhythm_ = std::move(rhythm);
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
    for (const LegendItem& item : legend_) captions << item.caption;
    return captions;
}

void ProgressChart::relayout() {
    fitNotice();
    const QFontMetrics fm(font());
    const QRect inner = rect().adjusted(4, 3, -4, -3);
    // One line of the modes present, each caption in its line's colour; the dashed miss
    // rate is named by its red axis, the dotted rhythm by a caption after the modes. A
    // legend too wide for the line gets a smaller font.
    legend_.clear();
    bool present[kSeriesCount] = {};
    for (const Point& p : points_) present[p.series] = true;
    for (int i = 0; i < kSeriesCount; ++i)
        if (present[i]) legend_.append({{}, tr(kSeries[i].caption), kSeries[i].colour});
    if (!rhythm_.isEmpty()) legend_.append({{}, tr("リズム"), kRhythmColour});
    legendFont_ = font();
    // The space between captions shrinks with them, so every mode still fits.
    const auto gapOf = [](const QFont& f) { return std::max(3, f.pixelSize() / 2); };
    const auto legendWidth = [this, &gapOf](const QFont& f) {
        const QFontMetrics m(f);
        int w = 0;
        for (const LegendItem& item : legend_) w += m.horizontalAdvance(item.caption) + gapOf(f);
        return w - gapOf(f);
    };
    while (legendWidth(legendFont_) > inner.width() && legendFont_.pixelSize() > 6)
        legendFont_.setPixelSize(legendFont_.pixelSize() - 1);
    const int gap = gapOf(legendFont_);
    const QFontMetrics lm(legendFont_);
    int x = inner.left();
    for (LegendItem& item : legend_) {
        const int w = lm.horizontalAdvance(item.caption);
        item.rect = QRect(x, inner.top(), w, fm.height());
        x += w + gap;
    }
    unitTop_ = inner.top() + fm.height();
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

QString ProgressChart::detailsOf(int i) const {
    const Point& p = points_.at(i);
    QString source = p.source;
    if (detailWidth_ > 0 && !source.isEmpty()) {
        // What the rest takes comes first; the file name gets what is left, at least
        // a few letters, shortened in the middle so its start and extension show.
        const QFontMetrics fm(detailFont_);
        const int room = std::max(fm.horizontalAdvance(QStringLiteral("MMMMMM")),
                                  detailWidth_ - fm.horizontalAdvance(p.details));
        source = fm.elidedText(source, Qt::ElideMiddle, room);
    }
    QString details = p.details;
    return details.insert(p.sourceAt, source);
}

QString ProgressChart::detailsAt(const QPoint& pos) const {
    const int i = pointAt(pos);
    return i < 0 ? QString() : detailsOf(i);
}

void ProgressChart::mouseMoveEvent(QMouseEvent* e) {
    const int i = pointAt(e->position().toPoint());
    if (i != hover_) {
        hover_ = i;
        update();
        emit hovered(i < 0 ? QString() : detailsOf(i));
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

namespace {
// A one-pixel frame drawn as filled strips: whole on every side at any scale, where a
// drawn rectangle's right and bottom lines can fall outside at fractional scales.
void frameRect(QPainter& p, const QRect& r, const QColor& c) {
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}
} // namespace

void ProgressChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Framed as the page's detail line is: a dark line around a lowered bevel.
    p.fillRect(rect(), Qt::white);
    frameRect(p, rect(), palette().color(QPalette::WindowText));
    const QRect bevel = rect().adjusted(1, 1, -1, -1);
    p.fillRect(QRect(bevel.left(), bevel.top(), bevel.width(), 1), palette().color(QPalette::Dark));
    p.fillRect(QRect(bevel.left(), bevel.top(), 1, bevel.height()),
               palette().color(QPalette::Dark));
    p.fillRect(QRect(bevel.left(), bevel.bottom(), bevel.width(), 1),
               palette().color(QPalette::Light));
    p.fillRect(QRect(bevel.right(), bevel.top(), 1, bevel.height()),
               palette().color(QPalette::Light));
    const QFontMetrics fm(font());
    const QColor text = Qt::black;
    const QColor grid(224, 224, 224);
    if (points_.isEmpty()) return; // the notice says why

    // Axes: speed ticks at the left with grid lines, miss-rate ticks at the right.
    p.setPen(text);
    p.drawText(QRect(plot_.left() - 30, unitTop_, 60, fm.height()), Qt::AlignCenter, tr("打/秒"));
    p.setPen(kMissColour);
    p.drawText(QRect(plot_.right() - 30, unitTop_, 60, fm.height()), Qt::AlignCenter, tr("ミス%"));
    const int steps = int(std::lround(speedTop_ / speedStep_));
    for (int i = 0; i <= steps; ++i) {
        const int y = int(at(0, i * speedStep_, speedTop_).y());
        if (i > 0) p.fillRect(QRect(plot_.left() + 1, y, plot_.width() - 2, 1), grid);
        p.setPen(text);
        p.drawText(QRect(0, y - fm.height() / 2, plot_.left() - 3, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, tick(i * speedStep_));
    }
    const int missSteps = int(std::lround(missTop_ / missStep_));
    p.setPen(kMissColour);
    for (int i = 0; i <= missSteps; ++i) {
        const int y = int(at(0, i * missStep_, missTop_).y());
        p.fillRect(QRect(plot_.right(), y, 3, 1), kMissColour);
        p.drawText(QRect(plot_.right() + 4, y - fm.height() / 2, width(), fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, tick(i * missStep_));
    }
    frameRect(p, plot_, QColor(96, 96, 96));
    p.setPen(text);
    if (!xLabels_.isEmpty()) {
        const QRect band(plot_.left(), plot_.bottom() + 2, plot_.width(), fm.height());
        p.drawText(band, Qt::AlignLeft | Qt::AlignTop, xLabels_.front());
        if (xMax_ > 0) p.drawText(band, Qt::AlignRight | Qt::AlignTop, xLabels_.back());
    }

    // Legend: each mode's caption in its line's colour.
    p.setFont(legendFont_);
    for (const LegendItem& item : legend_) {
        p.setPen(item.colour);
        p.drawText(item.rect, Qt::AlignLeft | Qt::AlignVCenter, item.caption);
    }
    p.setFont(font());

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
    if (rhythm_.size() > 1) {
        QPainterPath path;
        for (int i = 0; i < rhythm_.size(); ++i) {
            const QPointF q = at(rhythm_[i].x, rhythm_[i].rate, 100);
            i == 0 ? path.moveTo(q) : path.lineTo(q);
        }
        p.strokePath(path, QPen(kRhythmColour, 1.5, Qt::DotLine));
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

QString ProgressChart::summary() const {
    if (points_.isEmpty()) return QString();
    std::vector<double> speeds; // in the order of the x axis, every mode together
    QList<Point> byX = points_;
    std::stable_sort(byX.begin(), byX.end(),
                     [](const Point& a, const Point& b) { return a.x < b.x; });
    for (const Point& p : byX) speeds.push_back(p.speed);
    QString text = tr("最後の速さは%1").arg(speedText(speeds.back()));
    // The last three points against the three before them, a tenth apart or more.
    const std::size_t n = speeds.size();
    if (n >= 2) {
        const std::size_t half = std::min<std::size_t>(3, n / 2);
        const double recent = meanSpeed(speeds, n - half, n);
        const double before = meanSpeed(speeds, n - 2 * half, n - half);
        if (recent > before * 1.1)
            text += tr("、上がっています");
        else if (recent < before * 0.9)
            text += tr("、下がっています");
        else
            text += tr("、横ばいです");
    }
    return text + tr("。");
}
