#include "CoursePanel.h"

#include "CourseExercise.h"
#include "HistoryFigures.h"
#include "JapaneseExercise.h"
#include "KanaLayout.h"

#include <QPainter>
#include <QShowEvent>

using namespace course;

namespace {

// The character keys of the JIS keyboard, row by row, as the drawing lays them out.
const std::vector<std::vector<int>>& keyRows() {
    static const std::vector<std::vector<int>> rows = {
        {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 189, 222, 220},
        {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 192, 219},
        {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 187, 186, 221},
        {kShiftKey, 'Z', 'X', 'C', 'V', 'B', 'N', 'M', 188, 190, 191, 226},
    };
    return rows;
}

constexpr int kKey = 18;
const QRect kChart(8, 86, 220, 72);

} // namespace

CoursePanel::CoursePanel(QWidget* parent) : QWidget(parent) {
    fill();
}

void CoursePanel::setHistory(HistoryReader* reader) {
    reader_ = reader;
    if (isVisible()) fill();
}

void CoursePanel::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) fill();
    QWidget::showEvent(e);
}

void CoursePanel::setTargets(const Targets& goal) {
    goal_ = goal;
    update();
}

void CoursePanel::fill() {
    track_ = reader_ && reader_->setting(kKanaInputSetting) == QStringLiteral("1") ? Track::Kana
                                                                                   : Track::Letters;
    steps_ = reader_ ? reader_->courseSteps(trackName(track_)) : QList<CourseStep>();
    unlocked_ = clampUnlocked(track_, mostUnlocked(steps_));
    standings_ = standings(courseRunFigures(reader_, track_));
    update();
}

void CoursePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont f = font();
    f.setPixelSize(10);
    p.setFont(f);
    const Targets& goal = goal_;
    const std::vector<CourseKey>& order = keyOrder(track_);
    // Each key: grey locked, white not yet typed, green both targets met, yellow one,
    // red neither.
    for (std::size_t r = 0; r < keyRows().size(); ++r)
        for (std::size_t c = 0; c < keyRows()[r].size(); ++c) {
            const int vk = keyRows()[r][c];
            const int index = indexOfVk(track_, vk);
            // Shift is two keys wide and grows to the left, clear of Z.
            const int wide = vk == kShiftKey ? kKey : 0;
            const QRect box(4 + int(r) * kKey / 2 + int(c) * kKey - wide, 6 + int(r) * kKey,
                            kKey - 1 + wide, kKey - 1);
            QColor fill(200, 200, 200);
            if (index >= 0 && index < unlocked_) {
                const auto it = standings_.find(vk);
                if (vk == kShiftKey) {
                    fill = QColor(160, 224, 160);
                } else if (it == standings_.end()) {
                    fill = Qt::white;
                } else {
                    const int met =
                        int(meetsSpeed(it->second, goal)) + int(meetsAccuracy(it->second, goal));
                    fill = met == 2 ? QColor(160, 224, 160)
                           : met    ? QColor(255, 232, 128)
                                    : QColor(255, 160, 160);
                }
            }
            p.setPen(Qt::black);
            p.setBrush(fill);
            p.drawRect(box);
            QString cap;
            if (vk == kShiftKey)
                cap = QStringLiteral("⇧");
            else if (track_ == Track::Kana)
                cap = kanalayout::legendOf(vk, false);
            else if (index >= 0)
                cap = order[std::size_t(index)].cap; // the yen key as ¥, the ro key as _
            else
                cap = QString(QChar::fromLatin1(jisCharOfKey(vk, false)));
            p.drawText(box, Qt::AlignCenter, cap);
        }
    // The unlocked count over the course's steps, from the start keys to all of them.
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::gray);
    p.drawRect(kChart);
    p.setPen(Qt::black);
    p.drawText(QRect(kChart.right() + 4, kChart.top() - 2, 110, 14), Qt::AlignLeft,
               tr("解放したキー %1/%2").arg(unlocked_).arg(order.size()));
    if (steps_.size() < 2) return;
    const qint64 t0 = steps_.first().at.toMSecsSinceEpoch();
    const qint64 span = std::max<qint64>(1, steps_.last().at.toMSecsSinceEpoch() - t0);
    const int low = startKeys(track_), high = int(order.size());
    QPolygonF line;
    for (const CourseStep& s : steps_) {
        const double x =
            kChart.left() + kChart.width() * double(s.at.toMSecsSinceEpoch() - t0) / double(span);
        const double y = kChart.bottom() - kChart.height() * double(s.unlocked - low) /
                                               double(std::max(1, high - low));
        if (!line.isEmpty()) line << QPointF(x, line.last().y());
        line << QPointF(x, y);
    }
    p.setPen(QPen(QColor(0, 96, 192), 1.5));
    p.drawPolyline(line);
}
