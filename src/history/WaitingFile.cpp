#include "WaitingFile.h"

#include "HistorySql.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace waiting {

namespace {

QString newId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// The run as its rows in the history: the same names as the tables' columns.
QJsonObject runObject(const RunSummary& r) {
    QJsonArray keys, confusions;
    for (const auto& [vk, k] : r.perKey)
        keys.append(QJsonObject{{QStringLiteral("vk"), vk},
                                {QStringLiteral("expected"), k.expected},
                                {QStringLiteral("missed"), k.missed},
                                {QStringLiteral("ms_total"), k.msTotal},
                                {QStringLiteral("timed"), k.timed}});
    for (const auto& [c, count] : r.confusions)
        confusions.append(QJsonObject{{QStringLiteral("expected_vk"), c.expected},
                                      {QStringLiteral("typed_vk"), c.typed},
                                      {QStringLiteral("shift_wrong"), int(c.shift)},
                                      {QStringLiteral("count"), count}});
    QJsonObject o{{QStringLiteral("started_at"), historysql::isoTime(r.startedAt)},
                  {QStringLiteral("ended_at"), historysql::isoTime(r.endedAt)},
                  {QStringLiteral("mode"), r.mode},
                  {QStringLiteral("source"), r.source},
                  {QStringLiteral("seconds"), r.seconds},
                  {QStringLiteral("keys"), r.keys},
                  {QStringLiteral("misses"), r.misses},
                  {QStringLiteral("speed"), r.speed},
                  {QStringLiteral("completed"), r.completed},
                  {QStringLiteral("run_keys"), keys},
                  {QStringLiteral("confusions"), confusions}};
    // The history's own encoding of the keystrokes, in base64; none when none were kept.
    if (!r.keystrokes.empty())
        o.insert(QStringLiteral("strokes"),
                 QString::fromLatin1(keystrokes::encode(r.keystrokes).toBase64()));
    if (r.rhythm) o.insert(QStringLiteral("rhythm"), *r.rhythm);
    if (r.test)
        o.insert(QStringLiteral("test_result"),
                 QJsonObject{{QStringLiteral("way"), r.test->way},
                             {QStringLiteral("grade"), r.test->grade},
                             {QStringLiteral("text_id"), r.test->textId},
                             {QStringLiteral("right_chars"), r.test->rightChars},
                             {QStringLiteral("faults"), r.test->faults},
                             {QStringLiteral("minutes"), r.test->minutes},
                             {QStringLiteral("net"), r.test->net},
                             {QStringLiteral("accuracy"), r.test->accuracy},
                             {QStringLiteral("passed"), r.test->passed}});
    return o;
}

RunSummary runOf(const QJsonObject& o) {
    RunSummary r;
    r.startedAt = historysql::fromIsoTime(o.value(QLatin1String("started_at")).toString());
    r.endedAt = historysql::fromIsoTime(o.value(QLatin1String("ended_at")).toString());
    r.mode = o.value(QLatin1String("mode")).toString();
    r.source = o.value(QLatin1String("source")).toString();
    // JSON has no infinity: a figure out of reason was written as null.
    r.seconds = o.value(QLatin1String("seconds")).toDouble(qQNaN());
    r.keys = o.value(QLatin1String("keys")).toInteger();
    r.misses = o.value(QLatin1String("misses")).toInteger();
    r.speed = o.value(QLatin1String("speed")).toDouble(qQNaN());
    r.completed = o.value(QLatin1String("completed")).toBool();
    for (const QJsonValue v : o.value(QLatin1String("run_keys")).toArray()) {
        const QJsonObject k = v.toObject();
        RunKeyFigures& f = r.perKey[k.value(QLatin1String("vk")).toInt()];
        f.expected = k.value(QLatin1String("expected")).toInt();
        f.missed = k.value(QLatin1String("missed")).toInt();
        f.msTotal = k.value(QLatin1String("ms_total")).toInteger();
        f.timed = k.value(QLatin1String("timed")).toInt();
    }
    // A line from before the keystrokes were kept has none; a record that does not
    // decode is left out, the rest of the run kept.
    const QJsonValue strokes = o.value(QLatin1String("strokes"));
    if (strokes.isString())
        if (auto keys = keystrokes::decode(QByteArray::fromBase64(
                strokes.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors)))
            r.keystrokes = std::move(*keys);
    if (const QJsonValue rhythm = o.value(QLatin1String("rhythm")); rhythm.isDouble())
        r.rhythm = rhythm.toDouble();
    if (const QJsonValue v = o.value(QLatin1String("test_result")); v.isObject()) {
        const QJsonObject t = v.toObject();
        TestResult test;
        test.way = t.value(QLatin1String("way")).toString();
        test.grade = t.value(QLatin1String("grade")).toInt(-1);
        test.textId = t.value(QLatin1String("text_id")).toString();
        test.rightChars = t.value(QLatin1String("right_chars")).toInt();
        test.faults = t.value(QLatin1String("faults")).toInt();
        test.minutes = t.value(QLatin1String("minutes")).toDouble(qQNaN());
        test.net = t.value(QLatin1String("net")).toDouble(qQNaN());
        test.accuracy = t.value(QLatin1String("accuracy")).toDouble(qQNaN());
        test.passed = t.value(QLatin1String("passed")).toBool();
        r.test = test;
    }
    for (const QJsonValue v : o.value(QLatin1String("confusions")).toArray()) {
        const QJsonObject c = v.toObject();
        const int shift = c.value(QLatin1String("shift_wrong")).toInt();
        r.confusions[{c.value(QLatin1String("expected_vk")).toInt(),
                      c.value(QLatin1String("typed_vk")).toInt(),
                      shift == 1   ? ShiftSlip::Missing
                      : shift == 2 ? ShiftSlip::Extra
                                   : ShiftSlip::None}] = c.value(QLatin1String("count")).toInt();
    }
    return r;
}

// The file's entries of this format, lines cut short left out; foreign tells whether
// it holds whole entries of another format.
std::vector<Entry> scan(const QByteArray& bytes, bool* foreign = nullptr) {
    std::vector<Entry> entries;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.isEmpty()) continue;
        if (std::optional<Entry> e = decode(line)) {
            entries.push_back(std::move(*e));
        } else if (foreign) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            if (o.contains(QLatin1String("v")) && o.value(QLatin1String("v")).toInt() != kFormat)
                *foreign = true;
        }
    }
    return entries;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Blocks while another program appends to the file or removes it: both are short.
bool lock(int fd) {
    int r;
    do r = ::flock(fd, LOCK_EX);
    while (r != 0 && errno == EINTR);
    return r == 0;
}

// True when the open file is still the one the path names, not one removed meanwhile.
bool stillNamed(int fd, const QByteArray& path, struct stat* st) {
    struct stat named;
    return ::fstat(fd, st) == 0 && ::stat(path.constData(), &named) == 0 &&
           named.st_dev == st->st_dev && named.st_ino == st->st_ino;
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

QByteArray readAll(int fd) {
    QByteArray bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return bytes;
        bytes.append(buffer, n);
    }
}

// A new file's name reaches the disk only with its folder.
void syncFolder(const QString& file) {
    const Fd dir(::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

} // namespace

Entry runEntry(const RunSummary& run) {
    Entry e;
    e.kind = Entry::Kind::Run;
    e.id = newId();
    e.run = run;
    return e;
}

Entry settingEntry(const QString& key, const QString& value) {
    Entry e;
    e.kind = Entry::Kind::Setting;
    e.id = newId();
    e.key = key;
    e.value = value;
    return e;
}

Entry stepEntry(const QString& track, int unlocked, const QDateTime& at) {
    Entry e;
    e.kind = Entry::Kind::Step;
    e.id = newId();
    e.track = track;
    e.unlocked = unlocked;
    e.at = at;
    return e;
}

QByteArray encode(const Entry& e) {
    QJsonObject o{{QStringLiteral("v"), kFormat}, {QStringLiteral("id"), e.id}};
    switch (e.kind) {
    case Entry::Kind::Run:
        o.insert(QStringLiteral("run"), runObject(e.run));
        break;
    case Entry::Kind::Setting:
        o.insert(QStringLiteral("setting"),
                 QJsonObject{{QStringLiteral("key"), e.key}, {QStringLiteral("value"), e.value}});
        break;
    case Entry::Kind::Step:
        o.insert(QStringLiteral("course"),
                 QJsonObject{{QStringLiteral("track"), e.track},
                             {QStringLiteral("unlocked"), e.unlocked},
                             {QStringLiteral("at"), historysql::isoTime(e.at)}});
        break;
    }
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<Entry> decode(const QByteArray& line) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    const QJsonObject o = doc.object();
    Entry e;
    e.id = o.value(QLatin1String("id")).toString();
    if (o.value(QLatin1String("v")).toInt() != kFormat || e.id.isEmpty()) return std::nullopt;
    if (const QJsonValue run = o.value(QLatin1String("run")); run.isObject()) {
        e.kind = Entry::Kind::Run;
        e.run = runOf(run.toObject());
    } else if (const QJsonValue s = o.value(QLatin1String("setting")); s.isObject()) {
        e.kind = Entry::Kind::Setting;
        e.key = s[QLatin1String("key")].toString();
        e.value = s[QLatin1String("value")].toString();
    } else if (const QJsonValue c = o.value(QLatin1String("course")); c.isObject()) {
        e.kind = Entry::Kind::Step;
        e.track = c[QLatin1String("track")].toString();
        e.unlocked = c[QLatin1String("unlocked")].toInt();
        e.at = historysql::fromIsoTime(c[QLatin1String("at")].toString());
    } else {
        return std::nullopt;
    }
    return e;
}

QString fileFor(const QString& history) {
    return history + QStringLiteral("-waiting");
}

bool append(const QString& history, const std::vector<Entry>& entries) {
    if (entries.empty()) return true;
    QByteArray lines;
    for (const Entry& e : entries) lines += encode(e) + '\n';
    const QString name = fileFor(history);
    const QByteArray path = QFile::encodeName(name);
    // A file removed while this waited for it is no longer the folder's: take the new one.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const Fd fd(::open(path.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
        struct stat st;
        if (fd.get() < 0 || !lock(fd.get())) return false;
        if (!stillNamed(fd.get(), path, &st)) continue;
        QByteArray out = lines;
        char last = '\n';
        if (st.st_size > 0 && ::pread(fd.get(), &last, 1, st.st_size - 1) != 1) return false;
        // The line a killed program left cut short ends where this one begins.
        if (last != '\n') out.prepend('\n');
        if (!writeAll(fd.get(), out) || ::fsync(fd.get()) != 0) {
            // Nothing half written stays behind: the caller keeps the entries itself.
            if (::ftruncate(fd.get(), st.st_size) == 0) ::fsync(fd.get());
            return false;
        }
        if (st.st_size == 0) syncFolder(name);
        return true;
    }
    return false;
}

Contents read(const QString& history, const QString& taken) {
    Contents c;
    QFile f(fileFor(history));
    if (!f.open(QIODevice::ReadOnly)) return c;
    std::vector<Entry> all = scan(f.readAll());
    if (all.empty()) return c;
    c.lastId = all.back().id;
    auto from = all.begin();
    for (auto it = all.begin(); it != all.end(); ++it)
        if (it->id == taken) from = it + 1;
    c.entries.assign(std::make_move_iterator(from), std::make_move_iterator(all.end()));
    return c;
}

void removeTaken(const QString& history, const QString& lastId) {
    const QByteArray path = QFile::encodeName(fileFor(history));
    const Fd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (fd.get() < 0 || !lock(fd.get()) || !stillNamed(fd.get(), path, &st)) return;
    bool foreign = false;
    const std::vector<Entry> entries = scan(readAll(fd.get()), &foreign);
    const QString last = entries.empty() ? QString() : entries.back().id;
    // Removed while locked: an append waiting for the lock then makes a new file.
    if (!foreign && last == lastId) ::unlink(path.constData());
}

} // namespace waiting
