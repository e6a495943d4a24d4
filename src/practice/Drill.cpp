#include "Drill.h"

#include "DrillWeights.h"
#include "Platform.h"
#include "PracticeRecord.h"
#include "RecordFile.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TextBytes.h"
#include "TextExercise.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QStringList>
#include <cstring>
#include <optional>

namespace {

// Row r of the drill has bit 2^r in the row mask.
constexpr const char* kDrillRows[4] = {"ASDFGHJKL;", "QWERTYUIOP", "ZXCVBNM,.", "1234567890"};
constexpr TColor kGuideColor = clWhite;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

} // namespace

const char* drillRow(int r) {
    return kDrillRows[r & 3];
}

int drillRowMask(const RowSet& rows) {
    int mask = 0;
    if (rows.contains(rowA)) mask += 1;
    if (rows.contains(rowQ)) mask += 2;
    if (rows.contains(rowZ)) mask += 4;
    if (rows.contains(rowNumber)) mask += 8;
    return mask == 0 ? 15 : mask;
}

QString drillRowNames(int mask) {
    static const char* const names[4] = {"A", "Q", "Z", "1"};
    QStringList list;
    for (int r = 0; r < 4; ++r)
        if (mask & (1 << r)) list << QString::fromLatin1(names[r]);
    return list.join(QLatin1Char(' '));
}

char drawDrillChar(int mask, char previous) {
    Platform& platform = Platform::get();
    for (;;) {
        const int r = platform.random() & 3;
        if (!(mask & (1 << r))) continue;
        const char* row = kDrillRows[r];
        const char c = row[platform.random() % int(std::strlen(row))];
        if (c != previous) return c;
    }
}

Drill::Drill(PracticeRecord& record, OnScreenKeyboard& keyboard, TextExercise& exercise,
             const PracticeControls& controls)
    : record_(record), keyboard_(keyboard), exercise_(exercise), c_(controls) {}

void Drill::btnLessonClick() {
    c_.disableTools();
    runDrill();
    c_.enableTools();
    saveRecord(record_, c_.window);
    if (finished_ && c_.onRun) c_.onRun(*finished_);
    finished_.reset();
}

bool Drill::accepts(char c, quint16 key) const {
    if (key > 255) return false;
    const KeyEntry& entry = keyboard_.table[key];
    // The key alone decides, never the Shift state: a letter key's shifted
    // character is its capital.
    if (isDigit(c) && entry.baseChar == c) return true;
    if (isUpper(c)) return entry.shiftedChar == c;
    return entry.baseChar == c;
}

void Drill::runDrill() {
    Platform& platform = Platform::get();
    const int mask = drillRowMask(record_.rowSet);
    std::optional<DrillWeights> weighted;
    if (weakKeysWanted && weakKeysWanted())
        weighted =
            drillWeights(mask, recentKeyFigures ? recentKeyFigures() : KeyFigureMap{}, record_);
    const QString note =
        weighted && !weighted->noted.isEmpty() ? weakKeyNote(weighted->noted) : QString();
    exercise_.showStartPrompts(note);
    // The prompt line has no room left: the note stays in the idle text pane.
    if (!note.isEmpty()) c_.memo->setPlainText(note);

    char previous = '\0';
    keyboard_.lastKey = 0;
    platform.seedRandom(quint32(platform.calendarSeconds()));
    const qint64 t0 = platform.clockMs();
    c_.bar->setMaximum(kKeys);
    c_.bar->setValue(0);
    record_.runMisses = 0;
    tally_.begin(record_, QStringLiteral("drill"), drillRowNames(mask));
    c_.sounds->begin();

    int n = 0;
    for (;;) {
        const char c =
            weighted ? drawWeightedChar(*weighted, previous) : drawDrillChar(mask, previous);
        previous = c;
        KeyStat& stat = record_.keyStats[static_cast<unsigned char>(c)];
        stat.tries += 1;
        record_.typedTotal += 1;
        c_.display->setCaption(
            QCoreApplication::translate("Drill", "[%1] のキー.[Esc]で強制終了").arg(byteText(c)));
        c_.speech->drillKey(c);

        TPanel* guide = nullptr;
        TColor saved = 0;
        if (record_.guideOn) {
            guide = keyboard_.table[std::size_t(keyCodeOfChar(c))].panel;
            if (guide) {
                saved = guide->color();
                guide->setColor(kGuideColor);
            }
        }

        // Sleep until an event comes; every key-down in between leaves its code in
        // lastKey, and a key-up clears it.
        quint16 key = 0;
        for (;;) {
            keyboard_.lastKey = 0;
            platform.waitEvents(-1);
            key = keyboard_.lastKey;
            if (key == vkEscape || accepts(c, key)) break;
            if (key != 0) {
                record_.missTotal += 1;
                stat.misses += 1;
                record_.runMisses += 1;
                tally_.miss(keyCodeOfChar(c), key, keyboard_.lastShift);
                c_.sounds->key(false);
                c_.speech->drillMiss(c);
            }
        }

        if (guide) guide->setColor(saved);
        if (key == vkEscape) {
            stat.tries -= 1;
            record_.typedTotal -= 1;
            break;
        }
        tally_.accept(keyCodeOfChar(c), key, keyboard_.lastShift);
        c_.sounds->key(true);
        c_.bar->setValue(n);
        if (++n >= kKeys) break;
    }

    c_.sounds->end();
    auto secs = static_cast<float>((platform.clockMs() - t0) * 0.001L);
    if (secs == 0.0f) secs = 1.0f;
    const long double rate = static_cast<long double>(n) / secs;
    c_.display->setCaption(QCoreApplication::translate("TextExercise", "スピードは %1文字/秒 です")
                               .arg(QString::asprintf("%3.1f", static_cast<double>(rate))));
    c_.memo->setPlainText(QString());
    if (n != 0) record_.currentRate = static_cast<float>(rate);
    c_.speech->end(RunSpeech::textEnd(double(rate), record_.runMisses));

    RunSummary run;
    const bool done =
        tally_.finish(record_, double(secs), n != 0 ? double(float(rate)) : 0.0, n >= kKeys, run);
    if (done) c_.display->setCaption(c_.display->caption() + RunTally::rhythmNote(run.rhythm));
    // A drill left at its first prompt without a key did nothing worth keeping.
    if (done && (run.keys != 0 || run.misses != 0)) finished_ = std::move(run);
}
