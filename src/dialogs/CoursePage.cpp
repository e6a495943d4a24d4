#include "CoursePage.h"

#include "CourseExercise.h"
#include "JapaneseExercise.h"
#include "KanaLayout.h"

#include <QLabel>
#include <QPainter>
#include <QLineEdit>
#include <QSpinBox>

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
const QRect kChart(8, 100, 220, 80);

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

} // namespace

CoursePage::CoursePage(QWidget* parent) : QWidget(parent) {
    auto* label = new QLabel(tr("コースの目標"), this);
    label->setGeometry(250, 6, 96, 16);
    spSpeed = new TargetBox(this);
    spSpeed->setObjectName(QStringLiteral("spCourseSpeed"));
    spSpeed->setRange(10, 1000);
    spSpeed->setSuffix(tr(" キー/分"));
    spSpeed->setGeometry(250, 26, 96, 22);
    spSpeed->setToolTip(tr("キーを増やすのに要る速さ"));
    spAccuracy = new TargetBox(this);
    spAccuracy->setObjectName(QStringLiteral("spCourseAccuracy"));
    spAccuracy->setRange(50, 100);
    spAccuracy->setSuffix(tr(" %"));
    spAccuracy->setGeometry(250, 52, 96, 22);
    spAccuracy->setToolTip(tr("キーを増やすのに要る正確さ"));
    fill();
}

void CoursePage::setHistory(HistoryReader* reader) {
    reader_ = reader;
    fill();
}

void CoursePage::fill() {
    const Targets defaults;
    spSpeed->setValue(int(courseTarget(reader_ ? reader_->setting(kCourseSpeedSetting) : QString(),
                                       defaults.perMinute, 10, 1000)));
    spAccuracy->setValue(
        int(courseTarget(reader_ ? reader_->setting(kCourseAccuracySetting) : QString(),
                         defaults.accuracy, 50, 100)));
    track_ = reader_ && reader_->setting(kKanaInputSetting) == QStringLiteral("1") ? Track::Kana
                                                                                   : Track::Letters;
    steps_ = reader_ ? reader_->courseSteps(trackName(track_)) : QList<CourseStep>();
    unlocked_ = startKeys(track_);
    for (const CourseStep& s : steps_) unlocked_ = std::max(unlocked_, s.unlocked);
    unlocked_ = clampUnlocked(track_, unlocked_);
    std::vector<KeyFigureMap> runs;
    if (reader_)
        for (const QList<HistoryKey>& run : reader_->courseRunKeys(trackName(track_), 50)) {
            KeyFigureMap& m = runs.emplace_back();
            for (const HistoryKey& k : run) m[k.vk] = KeyFigures{k.expected, k.missed, k.msTotal};
        }
    standings_ = standings(runs);
    update();
}

void CoursePage::save() {
    if (!reader_) return;
    const QString speed = QString::number(spSpeed->value());
    const QString accuracy = QString::number(spAccuracy->value());
    if (speed != reader_->setting(kCourseSpeedSetting, QStringLiteral("150")))
        reader_->setSetting(kCourseSpeedSetting, speed);
    if (accuracy != reader_->setting(kCourseAccuracySetting, QStringLiteral("95")))
        reader_->setSetting(kCourseAccuracySetting, accuracy);
}

void CoursePage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont f = font();
    f.setPixelSize(10);
    p.setFont(f);
    const Targets goal{double(spSpeed->value()), double(spAccuracy->value())};
    const std::vector<CourseKey>& order = keyOrder(track_);
    // Each key: grey locked, white not yet typed, green both targets met, yellow one,
    // red neither.
    for (std::size_t r = 0; r < keyRows().size(); ++r)
        for (std::size_t c = 0; c < keyRows()[r].size(); ++c) {
            const int vk = keyRows()[r][c];
            int index = -1;
            for (std::size_t i = 0; i < order.size(); ++i)
                if (order[i].vk == vk) index = int(i);
            const int wide = vk == kShiftKey ? kKey : 0;
            const QRect box(4 + int(r) * kKey / 2 + int(c) * kKey + (vk == kShiftKey ? 0 : wide),
                            6 + int(r) * kKey, kKey - 1 + wide, kKey - 1);
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
            else
                cap = QString(QChar::fromLatin1(jisCharOfKey(vk, true) && vk >= 'A' && vk <= 'Z'
                                                    ? char(vk)
                                                    : jisCharOfKey(vk, false)));
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
