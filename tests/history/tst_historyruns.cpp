#include "../practice/DrillDriver.h"
#include "../practice/TypingKeys.h"
#include "HistoryCheck.h"
#include "ProgressPage.h"
#include "RunTally.h"

#include <QtTest>

// Runs through the main window with the fake clock: each save point leaves one row in
// runs, whose keys, confusions and times add up to what the record took.
class TstHistoryRuns : public QObject {
    Q_OBJECT

private slots:
    void lessonTypedToTheEnd();
    void fileRunStoppedEarly();
    void drillEndedWithEsc();
    void courseLessonUnlocksTheNextKey();
    void keyTimesFromAnOlderHistory();
};

namespace {

struct Before {
    explicit Before(Fixture& f) : typed(f.rec().typedTotal), missed(f.rec().missTotal), f_(f) {}
    qint64 typed, missed;
    Fixture& f_;
};

// The one run in the history, checked against the record's change and the fake times.
void checkOneRun(Fixture& f, const Before& before, const QString& mode, const QString& source,
                 bool completed, qint64 startMs, qint64 endMs) {
    RawDb db(f.env.path(QStringLiteral("Velotap.db")));
    QCOMPARE(db.one(QStringLiteral("SELECT count(*) FROM runs")).toInt(), 1);
    QSqlQuery q(db.db);
    QVERIFY(q.exec(QStringLiteral("SELECT mode, source, keys, misses, speed, completed,"
                                  " started_at, ended_at, seconds FROM runs")) &&
            q.next());
    QCOMPARE(q.value(0).toString(), mode);
    QCOMPARE(q.value(1).toString(), source);
    const qint64 keys = f.rec().typedTotal - before.typed;
    const qint64 misses = f.rec().missTotal - before.missed;
    QVERIFY(keys > 0 && misses > 0);
    QCOMPARE(q.value(2).toLongLong(), keys);
    QCOMPARE(q.value(3).toLongLong(), misses);
    QCOMPARE(float(q.value(4).toDouble()), f.rec().currentRate);
    QCOMPARE(q.value(5).toInt(), completed ? 1 : 0);
    auto iso = [](qint64 ms) {
        return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
    };
    QCOMPARE(q.value(6).toString(), iso(startMs));
    QCOMPARE(q.value(7).toString(), iso(endMs));
    QCOMPARE(db.one(QStringLiteral("SELECT sum(expected) FROM run_keys")).toLongLong(), keys);
    QCOMPARE(db.one(QStringLiteral("SELECT sum(missed) FROM run_keys")).toLongLong(), misses);
    QCOMPARE(db.one(QStringLiteral("SELECT sum(count) FROM confusions")).toLongLong(), misses);
    // A key's time lies within the run, up to its last accepted key.
    QVERIFY(db.one(QStringLiteral("SELECT sum(ms_total) FROM run_keys")).toLongLong() <=
            endMs - startMs);
    // Every key pressed is kept in order within the run, the wrong ones as the misses,
    // and the rhythm is theirs.
    const auto strokes =
        keystrokes::decode(db.one(QStringLiteral("SELECT data FROM run_strokes")).toByteArray());
    QVERIFY(strokes && !strokes->empty());
    QCOMPARE(std::count_if(strokes->begin(), strokes->end(), [](auto& k) { return !k.right; }),
             misses);
    QVERIFY(std::is_sorted(strokes->begin(), strokes->end(),
                           [](auto& a, auto& b) { return a.ms < b.ms; }));
    QVERIFY(strokes->back().ms <= endMs - startMs);
    const QVariant rhythm = db.one(QStringLiteral("SELECT rhythm FROM runs"));
    QCOMPARE(rhythm.isNull() ? -1.0 : rhythm.toDouble(), RunTally::rhythm(*strokes).value_or(-1));
}

// The wrong keys of the run, in order, "+" where Shift was held.
QString wrongKeys(Fixture& f) {
    RawDb db(f.env.path(QStringLiteral("Velotap.db")), QStringLiteral("w"));
    QString wrong;
    const QByteArray data = db.one(QStringLiteral("SELECT data FROM run_strokes")).toByteArray();
    for (const Keystroke& k : keystrokes::decode(data).value_or(std::vector<Keystroke>{}))
        if (!k.right) wrong += QStringLiteral(" %1%2").arg(k.vk).arg(k.shift ? "+" : "");
    return wrong;
}

// shift: 0 right, 1 left out, 2 held where none was wanted.
int confusions(Fixture& f, int expected, int typed, int shift = 0) {
    RawDb db(f.env.path(QStringLiteral("Velotap.db")), QStringLiteral("c"));
    return db
        .one(QStringLiteral("SELECT count FROM confusions WHERE expected_vk = %1 AND"
                            " typed_vk = %2 AND shift_wrong = %3")
                 .arg(expected)
                 .arg(typed)
                 .arg(shift))
        .toInt();
}

} // namespace

void TstHistoryRuns::lessonTypedToTheEnd() {
    Fixture f;
    f.env.writeFile(QStringLiteral("Lesson1.txt"), "asdf jkl;\r\nFj Dk.\r\n");
    const Before before(f);
    f.w->btnExercise->click();
    const qint64 start = f.env.platform.calendarMs();
    const QByteArray text(f.ex().practiceText());
    qint64 lastKey = start;
    for (int typed = 0; f.ex().practiceRunning(); ++typed) {
        const char c = text[f.ex().cursorPos];
        if (typed == 3) keys::tap(f.w->Memo, keys::Q); // for the 'f'
        if (typed == 6) typeChar(f.w->Memo, 'J');      // Shift left down for the 'k'
        if (typed == 10) typeChar(f.w->Memo, 'f');     // Shift left out for the 'F'
        if (c == '\r')
            keys::tap(f.w->Memo, keys::Enter);
        else
            typeChar(f.w->Memo, c);
        lastKey = f.env.platform.calendarMs();
        if (typed % 2 == 1 && f.ex().practiceRunning()) f.tick();
    }
    checkOneRun(f, before, QStringLiteral("lesson"), QStringLiteral("Lesson1.txt"), true, start,
                lastKey);
    QCOMPARE(confusions(f, 'F', 'Q'), 1);
    QCOMPARE(confusions(f, 'K', 'J', 2), 1);
    QCOMPARE(confusions(f, 'F', 'F', 1), 1);
    QCOMPARE(wrongKeys(f), QStringLiteral(" 81 74+ 70"));
    RawDb db(f.env.path(QStringLiteral("Velotap.db")));
    QCOMPARE(db.one(QStringLiteral("SELECT expected FROM run_keys WHERE vk = 13")).toInt(), 4);
    QCOMPARE(db.one(QStringLiteral("SELECT sum(ms_total) FROM run_keys")).toLongLong(),
             lastKey - start);
}

void TstHistoryRuns::fileRunStoppedEarly() {
    Fixture f;
    f.env.writeFile(QStringLiteral("notes.txt"), "Kept, a while.\r\n");
    f.env.platform.files.push_back(f.env.path(QStringLiteral("notes.txt")));
    f.w->btnFile->click();
    const Before before(f);
    f.w->btnStart->click();
    const qint64 start = f.env.platform.calendarMs();
    for (char c : QByteArray("Kep")) {
        if (c == 'e') keys::tap(f.w->Memo, keys::Q);
        typeChar(f.w->Memo, c);
        f.tick();
    }
    f.tick();
    f.w->btnStop->click();
    checkOneRun(f, before, QStringLiteral("text"), QStringLiteral("notes.txt"), false, start,
                f.env.platform.calendarMs());
    QCOMPARE(confusions(f, 'E', 'Q'), 1);
}

void TstHistoryRuns::drillEndedWithEsc() {
    Fixture f;
    const Before before(f);
    DrillDriver d(f);
    qint64 start = -1, end = -1;
    d.script = [&](int index, int step, char c) {
        if (start < 0) start = f.env.platform.calendarMs() - d.msPerWait;
        if (index == 1 && step == 0)
            d.hold(keys::Tab);
        else if (index == 5)
            d.hold(keys::Esc);
        else
            d.answer(c);
        end = f.env.platform.calendarMs();
    };
    f.w->btnLesson->click();
    checkOneRun(f, before, QStringLiteral("drill"), QStringLiteral("A"), false, start, end);
    QCOMPARE(confusions(f, d.prompts[1], 9), 1);
    QCOMPARE(wrongKeys(f), QStringLiteral(" 9"));
}

void TstHistoryRuns::courseLessonUnlocksTheNextKey() {
    Fixture f;
    f.w->setHistory(&f.w->history());
    const TPanel* e = f.w->keyboard().table['E'].panel;
    const TPanel* l = f.w->keyboard().table['L'].panel;
    const quint32 eColor = e->color();
    f.w->btnCourse->click();
    QVERIFY(f.ex().practiceRunning());
    QVERIFY(!f.w->btnCourse->isEnabled());
    QVERIFY(e->color() != eColor);             // not yet unlocked: grey
    QCOMPARE(l->color(), quint32(0x0000FFFF)); // the newest key in focus
    const QByteArray text(f.ex().practiceText());
    QVERIFY(!text.contains('e'));
    for (int typed = 1; f.ex().practiceRunning(); ++typed) {
        f.env.platform.now += 250; // 240 keys a minute
        const char c = text[f.ex().cursorPos];
        c == '\r' ? keys::tap(f.w->Memo, keys::Enter) : typeChar(f.w->Memo, c);
        if (typed % 4 == 0) f.w->Timer1Timer();
    }
    QVERIFY2(f.display().endsWith(QStringLiteral("次の新しいキー: E")), qPrintable(f.display()));
    QVERIFY2(f.display().contains(QStringLiteral("リズム100")), qPrintable(f.display()));
    QCOMPARE(e->color(), eColor);
    RawDb db(f.env.path(QStringLiteral("Velotap.db")));
    QCOMPARE(db.one(QStringLiteral("SELECT mode || ' ' || source FROM runs")).toString(),
             QStringLiteral("course letters 1"));
    QCOMPARE(db.one(QStringLiteral("SELECT group_concat(unlocked) FROM course")).toString(),
             QStringLiteral("7,8"));
    QCOMPARE(f.w->course().unlocked(course::Track::Letters), 8);
    QVERIFY(f.w->history().clear()); // the course starts over
    QCOMPARE(f.w->course().unlocked(course::Track::Letters), 7);
    QCOMPARE(f.env.platform.messages, QStringList());
}

// A history from before presses were told apart by their time keeps its rows, which
// count every press as timed, as the next run brings it up to date; that run's first
// key and a key after a pause over 2 s have no time, and a line end is one press.
void TstHistoryRuns::keyTimesFromAnOlderHistory() {
    Fixture f;
    RunSummary old;
    old.mode = QStringLiteral("course");
    old.source = QStringLiteral("letters 1");
    old.perKey = {{'A', {10, 0, 3000}}, {'S', {10, 1, 2000}}};
    QVERIFY(f.w->history().append(old));
    f.w->history().close();
    RawDb raw(f.env.path(QStringLiteral("Velotap.db")));
    for (const char* sql : {"ALTER TABLE run_keys DROP COLUMN timed", "DROP TABLE run_strokes",
                            "ALTER TABLE runs DROP COLUMN rhythm", "PRAGMA user_version=3"})
        QVERIFY2(raw.exec(QString::fromLatin1(sql)), sql);
    f.env.writeFile(QStringLiteral("Lesson1.txt"), "asdj\r\n");
    f.w->btnExercise->click();
    for (const int ms : {3796, 1900, 200, 2500, 300}) { // a s d j Enter
        f.env.platform.now += ms;
        const char c = f.ex().practiceText()[f.ex().cursorPos];
        c == '\r' ? keys::tap(f.w->Memo, keys::Enter) : typeChar(f.w->Memo, c);
        f.w->Timer1Timer();
    }
    QCOMPARE(raw.one(QStringLiteral("SELECT group_concat(k, ' ') FROM (SELECT vk || ':' ||"
                                    " expected || '/' || ifnull(timed, '-') || '/' || ms_total"
                                    " AS k FROM run_keys ORDER BY run_id, vk)"))
                 .toString(),
             QStringLiteral("65:10/-/3000 83:10/-/2000 " // the old rows as they were
                            "13:2/1/300 65:1/0/0 68:1/1/200 74:1/0/0 83:1/1/1900"));
    ProgressPage page;
    page.setHistory(&f.w->history());
    page.refresh(); // S 355, A 300, Enter 300, D 200, not J
    QCOMPARE(page.slowKeys[0]->caption() + page.slowKeys[4]->caption(), "S 355ms");
    QCOMPARE(f.w->history().courseRunKeys("letters", 1).value(0).value(0).averageMs(), 300.0);
}

QTEST_MAIN(TstHistoryRuns)
#include "tst_historyruns.moc"
