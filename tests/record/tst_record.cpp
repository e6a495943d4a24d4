#include "Keystrokes.h"
#include "PracticeRecord.h"
#include "RecordFile.h"
#include "TestEnv.h"

#include <QDir>
#include <QtEndian>
#include <QtTest>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

quint32 u32At(const QByteArray& b, int offset) {
    return qFromLittleEndian<quint32>(b.constData() + offset);
}

float f32At(const QByteArray& b, int offset) {
    const quint32 bits = u32At(b, offset);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

// A record whose every field holds a value that cannot be mistaken for another's.
PracticeRecord distinctive() {
    PracticeRecord r;
    r.level = 2;
    r.reserved = {0xA1, 0xA2, 0xA3, 0xA4};
    for (int i = 0; i < 10; ++i) r.fingerColors[std::size_t(i)] = 0x00102030u + quint32(i);
    r.rowSet.bits = 0x0D;
    r.guideOn = 1;
    r.padding = {0xB1, 0xB2};
    r.typedTotal = 123456;
    r.reservedCount = -7;
    r.missTotal = 4321;
    r.textLength = 1051;
    r.wordCount = 187;
    r.runMisses = 12;
    r.fastestRate = 5.25f;
    r.averageRate = 3.5f;
    r.currentRate = 0.1f;
    for (int k = 0; k < 256; ++k) {
        r.keyStats[std::size_t(k)].tries = 1000 + k;
        r.keyStats[std::size_t(k)].misses = -k;
    }
    return r;
}

// Runs as another user for a while: root's own access would open any file.
class ActingAs {
public:
    explicit ActingAs(uid_t id) : active_(id != ::geteuid()) {
        if (active_) QVERIFY(::setegid(id) == 0 && ::seteuid(id) == 0);
    }
    ~ActingAs() {
        if (active_) QVERIFY(::seteuid(0) == 0 && ::setegid(0) == 0);
    }

private:
    bool active_;
};

struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

} // namespace

class TestRecord : public QObject {
    Q_OBJECT
private slots:
    void defaultsImage();
    void layout_data();
    void layout();
    void roundTrip();
    void rowSetOperations_data();
    void rowSetOperations();
    void resetKeepsSettings();
    void missingFileGivesDefaultsSilently();
    void fileLengths_data();
    void fileLengths();
    void shortReadKeepsReservedBytes();
    void longFileTailSurvivesSave();
    void saveKeepsWhatTheFileHad_data();
    void saveKeepsWhatTheFileHad();
    void firstSaveCreatesFile();
    void unopenableRecord();
    void outOfRangeValuesKept();
    void keystrokeRecords_data();
    void keystrokeRecords();
};

void TestRecord::defaultsImage() {
    PracticeRecord r;
    r.applyDefaults();
    const QByteArray b = r.toBytes();
    QCOMPARE(b.size(), 2136);
    for (int i = 0; i < 2136; ++i) {
        const bool colour = i >= 8 && i < 48;
        char expected = 0;
        if (colour) expected = (i - 8) % 4 == 3 ? char(0x00) : char(0xFF);
        if (i == 48) expected = 0x02;
        if (b[i] != expected)
            QFAIL(qPrintable(QStringLiteral("byte %1 is %2").arg(i).arg(quint8(b[i]))));
    }
}

void TestRecord::layout_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("value");
    QTest::newRow("level") << 0 << 2u;
    QTest::newRow("reserved") << 4 << 0xA4A3A2A1u;
    QTest::newRow("finger 0") << 8 << 0x00102030u;
    QTest::newRow("finger 9") << 44 << 0x00102039u;
    QTest::newRow("rowSet, guideOn, padding") << 48 << 0xB2B1010Du; // 0D 01 B1 B2
    QTest::newRow("typedTotal") << 52 << 123456u;
    QTest::newRow("reservedCount") << 56 << quint32(-7);
    QTest::newRow("missTotal") << 60 << 4321u;
    QTest::newRow("textLength") << 64 << 1051u;
    QTest::newRow("wordCount") << 68 << 187u;
    QTest::newRow("runMisses") << 72 << 12u;
    QTest::newRow("keyStats[0].tries") << 88 << 1000u;
    QTest::newRow("keyStats[92].misses") << 92 + 8 * 92 << quint32(-92);
    QTest::newRow("keyStats[255].tries") << 88 + 8 * 255 << 1255u;
    QTest::newRow("keyStats[255].misses") << 2132 << quint32(-255);
}

void TestRecord::layout() {
    QFETCH(int, offset);
    QFETCH(quint32, value);
    const QByteArray b = distinctive().toBytes();
    QCOMPARE(u32At(b, offset), value);
}

void TestRecord::roundTrip() {
    const PracticeRecord r = distinctive();
    const QByteArray b = r.toBytes();
    QCOMPARE(f32At(b, 76), 5.25f);
    QCOMPARE(f32At(b, 80), 3.5f);
    QCOMPARE(f32At(b, 84), 0.1f);
    PracticeRecord back;
    back.fromBytes(b);
    QCOMPARE(back.toBytes(), b);

    TestEnv env;
    saveRecord(r);
    QCOMPARE(env.readFile("Velotap.bin"), b);
    PracticeRecord loaded;
    loadRecord(loaded);
    QCOMPARE(loaded.toBytes(), b);
    QVERIFY(env.platform.messages.isEmpty());
}

void TestRecord::rowSetOperations_data() {
    QTest::addColumn<QList<int>>("included");
    QTest::addColumn<int>("bits");
    QTest::newRow("none") << QList<int>{} << 0;
    QTest::newRow("A row") << QList<int>{1} << 0x02;
    QTest::newRow("all four") << QList<int>{0, 1, 2, 3} << 0x0F;
    QTest::newRow("out of range ignored") << QList<int>{-1, 4, 8, 3} << 0x08;
}

void TestRecord::rowSetOperations() {
    QFETCH(QList<int>, included);
    QFETCH(int, bits);
    RowSet s;
    s.bits = 0xF0;
    s.clear();
    for (int e : included) s.include(e);
    QCOMPARE(int(s.bits), bits);
    for (int e = -2; e < 10; ++e) QCOMPARE(s.contains(e), e >= 0 && e <= 3 && included.contains(e));
    s.bits = 0xFF; // a damaged byte: elements past 3 are never members
    QVERIFY(!s.contains(4));
}

void TestRecord::resetKeepsSettings() {
    PracticeRecord r = distinctive();
    r.resetStatistics();
    QCOMPARE(r.level, 2);
    QCOMPARE(int(r.rowSet.bits), 0x0D);
    QCOMPARE(int(r.guideOn), 1);
    QCOMPARE(r.fingerColors[9], 0x00102039u);
    QCOMPARE(int(r.reserved[3]), 0xA4);
    const QByteArray b = r.toBytes();
    for (int i = 52; i < 2136; ++i) QCOMPARE(int(b[i]), 0);
}

void TestRecord::missingFileGivesDefaultsSilently() {
    TestEnv env;
    PracticeRecord r;
    loadRecord(r);
    QVERIFY(env.platform.messages.isEmpty());
    PracticeRecord d;
    d.applyDefaults();
    QCOMPARE(r.toBytes(), d.toBytes());
}

void TestRecord::fileLengths_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << 0 << false;
    QTest::newRow("1 byte") << 1 << false;
    QTest::newRow("2135 bytes") << 2135 << false;
    QTest::newRow("2136 bytes") << 2136 << true;
    QTest::newRow("2137 bytes") << 2137 << true;
    QTest::newRow("1 MiB") << (1 << 20) << true;
}

void TestRecord::fileLengths() {
    QFETCH(int, length);
    QFETCH(bool, accepted);
    TestEnv env;
    QByteArray bytes = distinctive().toBytes();
    bytes.resize(length, '\x5A');
    env.writeFile("Velotap.bin", bytes);
    PracticeRecord r;
    loadRecord(r);
    if (accepted) {
        QVERIFY(env.platform.messages.isEmpty());
        QCOMPARE(r.toBytes(), distinctive().toBytes());
    } else {
        QCOMPARE(env.platform.messages,
                 QStringList{QStringLiteral("タイムレコードの形式が違います。\n初期化をします。")});
        QCOMPARE(r.level, 0);
        QCOMPARE(int(r.rowSet.bits), 0x02);
        QCOMPARE(r.fingerColors[0], 0x00FFFFFFu);
        QCOMPARE(r.typedTotal, 0);
    }
}

void TestRecord::shortReadKeepsReservedBytes() {
    TestEnv env;
    env.writeFile("Velotap.bin", distinctive().toBytes().left(100));
    PracticeRecord r;
    loadRecord(r);
    QCOMPARE(env.platform.messages.size(), 1);
    QCOMPARE(int(r.reserved[0]), 0xA1); // what the short read placed there stays
    QCOMPARE(int(r.padding[1]), 0xB2);
    QCOMPARE(r.level, 0);
    QCOMPARE(r.missTotal, 0);
}

void TestRecord::longFileTailSurvivesSave() {
    TestEnv env;
    QByteArray bytes = distinctive().toBytes();
    bytes.append("tail-bytes");
    env.writeFile("Velotap.bin", bytes);
    PracticeRecord r;
    loadRecord(r);
    r.typedTotal = 9;
    saveRecord(r);
    const QByteArray after = env.readFile("Velotap.bin");
    QCOMPARE(after.size(), 2146);
    QCOMPARE(after.right(10), QByteArray("tail-bytes"));
    QCOMPARE(u32At(after, 52), 9u);
}

void TestRecord::saveKeepsWhatTheFileHad_data() {
    // Owner and saver: -1 for the test's own user.
    QTest::addColumn<int>("owner");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("linked");
    QTest::addColumn<int>("saver");
    QTest::addColumn<int>("folder");
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("root saves a user's record") << 4242 << 0640 << false << -1 << 0777 << false;
    QTest::newRow("second link") << -1 << 0644 << true << -1 << 0777 << true;
    QTest::newRow("write-only") << 65534 << 0200 << false << 65534 << 0777 << true;
    QTest::newRow("owner cannot be kept") << 0 << 0666 << false << 65534 << 0777 << true;
    QTest::newRow("folder takes no new files") << 65534 << 0644 << false << 65534 << 0555 << true;
}

void TestRecord::saveKeepsWhatTheFileHad() {
    QFETCH(int, owner);
    QFETCH(int, mode);
    QFETCH(bool, linked);
    QFETCH(int, saver);
    QFETCH(int, folder);
    QFETCH(bool, inPlace);
    if ((owner >= 0 || saver >= 0) && ::geteuid() != 0) QSKIP("needs root to set owners");
    const uid_t ownerId = owner < 0 ? ::geteuid() : uid_t(owner);
    const uid_t saverId = saver < 0 ? ::geteuid() : uid_t(saver);
    const gid_t groupId = owner < 0 ? ::getegid() : gid_t(owner + 1);
    TestEnv env;
    const QString file = env.path("Velotap.bin");
    env.writeFile("Velotap.bin", distinctive().toBytes() + "tail-bytes");
    QVERIFY(::chown(QFile::encodeName(file).constData(), ownerId, groupId) == 0);
    QVERIFY(::chmod(QFile::encodeName(file).constData(), mode_t(mode)) == 0);
    if (linked) QVERIFY(::link("Velotap.bin", "Other.bin") == 0);
    QVERIFY(::chmod(QFile::encodeName(env.dir()).constData(), mode_t(folder)) == 0);
    const struct stat before = statOf(file);

    PracticeRecord r;
    r.typedTotal = 31;
    {
        ActingAs as(saverId);
        saveRecord(r);
    }
    QVERIFY(env.platform.messages.isEmpty());
    const struct stat after = statOf(file);
    QCOMPARE(after.st_ino == before.st_ino, inPlace);
    QCOMPARE(after.st_uid, ownerId);
    QCOMPARE(after.st_gid, groupId);
    QCOMPARE(after.st_mode & 07777, mode_t(mode));
    QCOMPARE(env.readFile("Velotap.bin"), r.toBytes() + "tail-bytes");
    if (linked) QCOMPARE(env.readFile("Other.bin"), r.toBytes() + "tail-bytes");
}

void TestRecord::firstSaveCreatesFile() {
    TestEnv env;
    PracticeRecord r;
    loadRecord(r);
    saveRecord(r);
    const QByteArray b = env.readFile("Velotap.bin");
    QCOMPARE(b.size(), 2136);
    QCOMPARE(int(b[48]), 2);
    QCOMPARE(u32At(b, 8), 0x00FFFFFFu);
    QVERIFY(QFileInfo(env.path("Velotap.bin")).permissions() & QFile::WriteOwner);
    QVERIFY(env.platform.messages.isEmpty());
}

void TestRecord::unopenableRecord() {
    // A folder in the record's place cannot be read or written, even by root.
    TestEnv env;
    QVERIFY(QDir(env.dir()).mkdir("Velotap.bin"));
    PracticeRecord r;
    loadRecord(r);
    QCOMPARE(r.level, 0);
    QCOMPARE(int(r.rowSet.bits), 2);
    env.platform.messages.clear();
    saveRecord(r);
    QCOMPARE(env.platform.messages,
             QStringList{QStringLiteral("タイムレコードがオープンできませんでした。")});
    QVERIFY(QFileInfo(env.path("Velotap.bin")).isDir());
}

void TestRecord::outOfRangeValuesKept() {
    TestEnv env;
    PracticeRecord bad = distinctive();
    bad.level = 77;
    bad.rowSet.bits = 0xF0;
    bad.guideOn = 9;
    bad.averageRate = -1.0f;
    env.writeFile("Velotap.bin", bad.toBytes());
    PracticeRecord r;
    loadRecord(r);
    QVERIFY(env.platform.messages.isEmpty());
    QCOMPARE(r.toBytes(), bad.toBytes());
}

void TestRecord::keystrokeRecords_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("keys"); // read; -1: refused
    using K = std::vector<Keystroke>;
    // A gap under 32 ms takes one byte with its flags, one under 4.1 s two.
    const K some{
        {0, 65, false, true}, {31, 255, true, false}, {31, 0, true, true}, {4126, 13, false, true}};
    QCOMPARE(keystrokes::encode(some).size(), 1 + 2 + 2 + 2 + 3);
    K many;
    for (int i = 0; i < 10'000; ++i)
        many.push_back({(i + 1) * 150LL, 65 + i % 26, i % 7 == 0, i % 9 != 0});
    const QByteArray good = keystrokes::encode(some);
    const qint64 half = keystrokes::kMaxMs / 2 + 1; // each gap under a day, both past it
    QTest::newRow("none") << keystrokes::encode({}) << 0;
    QTest::newRow("flags and codes") << good << 4;
    QTest::newRow("a whole day") << keystrokes::encode({{keystrokes::kMaxMs, 32, false, true}})
                                 << 1;
    QTest::newRow("10,000 keys") << keystrokes::encode(many) << 10'000;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("a newer format") << QByteArray("\x02").append(good.mid(1)) << -1;
    QTest::newRow("format 0") << QByteArray(1, '\0').append(good.mid(1)) << -1;
    QTest::newRow("cut in the key code") << good.left(good.size() - 1) << -1;
    QTest::newRow("cut in the gap") << QByteArray("\x01\x80") << -1;
    QTest::newRow("gap without key") << QByteArray("\x01\x04") << -1;
    QTest::newRow("varint too long") << QByteArray("\x01\xff\xff\xff\xff\xff\xff\x01\x41") << -1;
    QTest::newRow("over a day") << keystrokes::encode(
                                       {{half, 65, false, true}, {2 * half, 65, false, true}})
                                << -1;
}

// A record reads back as the keys it was made of, in a few bytes a key; a damaged one
// is refused whole.
void TestRecord::keystrokeRecords() {
    QFETCH(QByteArray, data);
    QFETCH(int, keys);
    const auto read = keystrokes::decode(data);
    QCOMPARE(read ? int(read->size()) : -1, keys);
    if (read) QCOMPARE(keystrokes::encode(*read), data);
    if (keys > 100) QCOMPARE(data.size(), 1 + keys * 3);
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
