#include "CourseExercise.h"

#include "JapaneseExercise.h"
#include "Platform.h"
#include "TPanel.h"
#include "TextExercise.h"

using namespace course;

namespace {

constexpr TColor kLockedColor = 0x00A0A0A0;
constexpr TColor kFocusColor = clYellow;
constexpr std::size_t kSessionRuns = 30;

KeyFigureMap figuresOf(const RunSummary& run) {
    KeyFigureMap out;
    for (const auto& [vk, k] : run.perKey)
        out[vk] = KeyFigures{k.expected, k.missed, k.msTotal, k.timed};
    return out;
}

} // namespace

double courseTarget(const QString& kept, double fallback, double low, double high) {
    bool ok = false;
    const double v = kept.toDouble(&ok);
    return ok && v >= low && v <= high ? v : fallback;
}

CourseExercise::CourseExercise(OnScreenKeyboard& keyboard, TextExercise& text,
                               JapaneseExercise& japanese, const PracticeControls& controls)
    : keyboard_(keyboard), text_(text), japanese_(japanese), c_(controls) {}

CourseExercise::~CourseExercise() = default;

const WordBank& CourseExercise::bank(Track track) {
    auto& b = banks_[track];
    if (!b) b = std::make_unique<WordBank>(track, shippedWords(track));
    return *b;
}

int CourseExercise::unlocked(Track track) {
    // While the history keeps the course it is the one place it stands: deleting the
    // history starts the course over at once.
    if (kept_ && loadUnlocked) return clampUnlocked(track, loadUnlocked(track));
    auto it = unlocked_.find(track);
    if (it == unlocked_.end())
        it = unlocked_.emplace(track, clampUnlocked(track, loadUnlocked ? loadUnlocked(track) : 0))
                 .first;
    return it->second;
}

std::vector<KeyFigureMap> CourseExercise::figures(Track track) {
    // Once the history has missed a run, this session's own runs are what counts.
    if (kept_ && recentRuns) return recentRuns(track);
    const auto& runs = session_[track];
    return {runs.begin(), runs.end()};
}

bool CourseExercise::btnCourseClick() {
    track_ = kanaWanted && kanaWanted() ? Track::Kana : Track::Letters;
    const int open = unlocked(track_);
    const Targets goal = targets ? targets() : Targets{};
    const int focus = focusIndex(track_, open, standings(figures(track_)), goal);
    Platform& platform = Platform::get();
    // From the calendar, as the drill does: a fresh start gives a fresh lesson.
    platform.seedRandom(quint32(platform.calendarMs()));
    lesson_ = makeLesson(bank(track_), open, focus, [&platform] { return platform.random(); });

    const std::vector<CourseKey>& keys = keyOrder(track_);
    QStringList fresh;
    for (int i = open == startKeys(track_) ? 0 : open - 1; i < open; ++i)
        fresh << keys[std::size_t(i)].cap;
    const QString lead = tr("コース %1/%2　新しいキー: %3")
                             .arg(lessonNumber(track_, open))
                             .arg(lessonCount(track_))
                             .arg(fresh.join(QLatin1Char(' ')));
    const QString source =
        trackName(track_) + QStringLiteral(" %1").arg(lessonNumber(track_, open));
    markKeyboard(open);
    bool started = false;
    if (track_ == Track::Letters) {
        started = text_.startMadeText(lesson_.text.toLatin1(), QStringLiteral("course"), source, {},
                                      lead);
    } else {
        std::vector<Phrase> phrases;
        for (const QString& line : lesson_.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            Phrase p;
            p.written = line;
            p.reading = line;
            p.end = int(line.size());
            phrases.push_back(p);
        }
        japanese_.setKanaInput(true);
        started =
            japanese_.startPhrases(std::move(phrases), QStringLiteral("course"), source, lead);
    }
    if (!started) runEnded();
    return started;
}

void CourseExercise::markKeyboard(int open) {
    runEnded();
    for (int vk = 0; vk < 256; ++vk) {
        TPanel* panel = keyboard_.table[std::size_t(vk)].panel;
        if (!panel || !jisCharOfKey(vk, false) || vk == 32) continue;
        const int index = indexOfVk(track_, vk);
        const bool locked = index < 0 || index >= open;
        if (!locked && index != lesson_.focus) continue;
        marked_.emplace_back(panel, panel->color());
        panel->setColor(locked ? kLockedColor : kFocusColor);
    }
}

void CourseExercise::runEnded() {
    for (auto it = marked_.rbegin(); it != marked_.rend(); ++it) it->first->setColor(it->second);
    marked_.clear();
}

void CourseExercise::notKept() {
    kept_ = false;
    if (notKeptSaid_) return;
    notKeptSaid_ = true;
    Platform::get().messageBox(
        c_.window, tr("成績履歴に書き込めないため、コースの進み具合は保存されません。"));
}

void CourseExercise::runFinished(const RunSummary& run, bool kept) {
    if (run.mode != QStringLiteral("course")) return;
    auto& mine = session_[track_];
    mine.push_front(figuresOf(run));
    if (mine.size() > kSessionRuns) mine.pop_back();
    if (!kept) notKept();

    // One read of where the history stands serves both questions.
    const int stored = loadUnlocked ? loadUnlocked(track_) : 0;
    const bool firstStep = loadUnlocked && stored == 0;
    const int open = kept_ && loadUnlocked ? clampUnlocked(track_, stored) : unlocked(track_);
    const Targets goal = targets ? targets() : Targets{};
    const auto now = standings(figures(track_));
    bool speed = true, accuracy = true;
    for (int i = 0; i < open; ++i) {
        const int vk = keyOrder(track_)[std::size_t(i)].vk;
        if (vk == kShiftKey) continue;
        const auto it = now.find(vk);
        const KeyStanding s = it == now.end() ? KeyStanding{} : it->second;
        speed = speed && meetsSpeed(s, goal);
        accuracy = accuracy && meetsAccuracy(s, goal);
    }
    const int next = unlockAfter(track_, open, now, goal);
    if (kept_ && saveUnlocked) {
        // The course's way begins with its start keys, so its chart has a first point.
        bool ok = !firstStep || saveUnlocked(track_, open);
        if (next > open) ok = ok && saveUnlocked(track_, next);
        if (!ok) notKept();
    }
    unlocked_[track_] = next;

    QString verdict =
        tr("速さ%1　正確さ%2").arg(speed ? tr("○") : tr("×"), accuracy ? tr("○") : tr("×")) +
        RunTally::rhythmNote(run.rhythm);
    if (next > open) {
        verdict += tr("　次の新しいキー: %1").arg(keyOrder(track_)[std::size_t(next - 1)].cap);
        c_.speech->addToEnd(RunSpeech::newKey(keyOrder(track_)[std::size_t(next - 1)].cap));
    }
    c_.display->setCaption(verdict);
}
