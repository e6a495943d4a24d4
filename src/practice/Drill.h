#pragma once
#include "OnScreenKeyboard.h"
#include "PracticeControls.h"
#include "RunTally.h"
#include "WeakKeys.h"

#include <functional>
#include <optional>

struct PracticeRecord;
struct RowSet;
class TextExercise;

// The history setting that has the drill prompt weak keys more often: "1" on, else off.
inline const QString kWeakKeysSetting = QStringLiteral("drill.weakKeys");

// The drill's row mask from the chosen rows: A row 1, Q row 2, Z row 4, number row 8;
// no row chosen means all four.
int drillRowMask(const RowSet& rows);
// Row r of the drill, the row of bit 2^r of the mask.
const char* drillRow(int r);
// A character of a row in the mask, drawn with the platform's generator, never the
// previous one.
char drawDrillChar(int mask, char previous);
// The rows of a mask as the history names the drill's source, e.g. "A Q".
QString drillRowNames(int mask);

// The form-position drill: 50 keys prompted at random from the chosen rows.
class Drill {
public:
    static constexpr int kKeys = 50;

    Drill(PracticeRecord& record, OnScreenKeyboard& keyboard, TextExercise& exercise,
          const PracticeControls& controls);

    void btnLessonClick();
    void runDrill();

    // What the drill learns of past runs; the application fills both from the history,
    // and without them the draw is uniform.
    std::function<bool()> weakKeysWanted;           // the setting to prompt weak keys more
    std::function<KeyFigureMap()> recentKeyFigures; // per key over the last 20 runs

private:
    bool accepts(char c, quint16 key) const;

    PracticeRecord& record_;
    OnScreenKeyboard& keyboard_;
    TextExercise& exercise_;
    PracticeControls c_;
    RunTally tally_;
    std::optional<RunSummary> finished_; // the last drill, until the record is saved
};
