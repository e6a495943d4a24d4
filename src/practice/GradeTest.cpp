#include "GradeTest.h"

#include "JapaneseExercise.h"
#include "Platform.h"
#include "PracticeRecord.h"
#include "TPanel.h"
#include "TextExercise.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

using grades::Way;

namespace {

// The text in parts of whole lines that each fit the text exercise's buffer.
QStringList partsOf(const QString& text, int room) {
    QStringList parts;
    QString part;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!part.isEmpty() && part.size() + line.size() + 2 > room) {
            parts << part;
            part.clear();
        }
        if (!part.isEmpty()) part += QLatin1Char('\n');
        part += line.left(room - 2);
    }
    if (!part.isEmpty()) parts << part;
    return parts;
}

} // namespace

GradeTest::GradeTest(PracticeRecord& record, TextExercise& text, JapaneseExercise& japanese,
                     const PracticeControls& controls)
    : record_(record), exercise_(text), japanese_(japanese), c_(controls) {
    // A fast typist may run through what the buffer holds before the time is up.
    exercise_.textRunsOut = [this] {
        if (!running_ || parts_.isEmpty()) return QByteArray();
        return parts_.takeFirst().toLatin1();
    };
}

bool GradeTest::btnTestClick() {
    const Way way = chosenWay ? chosenWay() : Way::Letters;
    const QList<TestResult> had = results ? results(way) : QList<TestResult>();
    int index = grades::nextGrade(way, grades::earnedGrades(had));
    // Past the top of the ladder the top grade is sat again, for a better score.
    if (index < 0) index = int(grades::ladder(way).size()) - 1;
    return start(way, index);
}

bool GradeTest::start(Way way, int index) {
    const std::optional<grades::Grade> grade = grades::gradeAt(way, index);
    if (!grade) return false;
    Platform& platform = Platform::get();
    const QDate today = QDateTime::fromMSecsSinceEpoch(platform.calendarMs()).date();
    std::optional<grades::TestText> text =
        grades::testText(way, index, today, japanese_.readingSource());
    if (!text) {
        platform.messageBox(c_.window, tr("この級のテストの文が用意できません。"));
        return false;
    }
    way_ = way;
    index_ = index;
    minutes_ = grade->minutes;
    text_ = std::move(*text);
    fullTime_ = false;
    const QString source = grades::wayName(way) + QStringLiteral("/%1").arg(index);
    const QString rules = grades::rulesLine(way, index);
    bool started = false;
    if (way == Way::Letters) {
        parts_ = partsOf(text_.written, TextExercise::kTextSize - 96);
        const QByteArray first = parts_.isEmpty() ? QByteArray() : parts_.takeFirst().toLatin1();
        // Loading a text sets the current speed back; a test keeps the speeds as they are.
        const float current = record_.currentRate;
        started = exercise_.startMadeText(first, QStringLiteral("test"), source, {}, rules);
        record_.currentRate = current;
    } else {
        japanese_.setKanaInput(way == Way::Kana);
        started = japanese_.startPhrases(text_.phrases, QStringLiteral("test"), source, rules);
    }
    running_ = started;
    if (started) c_.lcd->setCaption(QString::asprintf("%02d:%02d", minutes_, 0));
    return started;
}

int GradeTest::elapsed() const {
    return japanese_.running() ? japanese_.elapsedSeconds : exercise_.elapsedSeconds;
}

int GradeTest::secondsLeft() const {
    return std::max(0, minutes_ * 60 - elapsed());
}

void GradeTest::tick() {
    if (!running_) return;
    const int left = secondsLeft();
    c_.lcd->setCaption(QString::asprintf("%02d:%02d", left / 60, left % 60));
    if (left > 0) return;
    fullTime_ = true;
    if (japanese_.running())
        japanese_.btnStopClick();
    else
        exercise_.btnStopClick();
}

void GradeTest::finishRun(RunSummary& run) {
    if (run.mode != QStringLiteral("test")) return;
    running_ = false;
    int right = 0;
    if (way_ == Way::Letters) {
        // Each right press is one character, a line end's Enter too.
        right = int(std::count_if(run.keystrokes.begin(), run.keystrokes.end(),
                                  [](const Keystroke& k) { return k.right; }));
    } else {
        right = japanese_.kanaTypedNow();
    }
    // A text typed through before the clock ran out ran the whole test: it is scored
    // over the test's minutes, which can only lower the score.
    const bool full = fullTime_ || run.completed;
    const double minutes = full ? double(minutes_) : run.seconds / 60.0;
    run.test = grades::judge(way_, index_, text_.id, right, int(run.misses), minutes, full);
    const TestResult& r = *run.test;
    c_.display->setCaption(tr("%1 %2 %3字/分 正確%4%")
                               .arg(grades::gradeName(index_), r.passed ? tr("合格") : tr("不合格"))
                               .arg(std::lround(r.net))
                               .arg(std::lround(std::floor(r.accuracy))));
}

Way wayAfterRun(const QString& mode, const QString& source, bool kanaSetting) {
    const Way japanese = kanaSetting ? Way::Kana : Way::Romaji;
    if (mode == QStringLiteral("japanese")) return japanese;
    if (mode == QStringLiteral("course") && source.startsWith(QStringLiteral("kana")))
        return japanese;
    if (mode == QStringLiteral("test")) {
        const std::optional<Way> w = grades::wayFromName(source.section(QLatin1Char('/'), 0, 0));
        if (w && *w != Way::Letters) return japanese;
    }
    return Way::Letters;
}
