#pragma once
#include "RunSummary.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// What waits for a history that another program holds: runs (a test's result with its
// run), settings and course steps,
// kept in a small file beside it (Velotap.db-waiting) until a write of this or a later
// session takes them in. One JSON object a line, appended and flushed to the disk
// before the program goes on, so a kill or a power cut loses none of them; a line cut
// short by a kill is left out, and the lines before it stay good.
namespace waiting {

inline constexpr int kFormat = 1; // the "v" of each line written here

struct Entry {
    enum class Kind { Run, Setting, Step };
    Kind kind = Kind::Run;
    QString id; // unique: the history remembers the last one it took in
    RunSummary run;
    QString key, value; // a setting
    QString track;      // a course step: the track reached `unlocked` keys at `at`
    int unlocked = 0;
    QDateTime at;
};
Entry runEntry(const RunSummary& run);
Entry settingEntry(const QString& key, const QString& value);
Entry stepEntry(const QString& track, int unlocked, const QDateTime& at);

// One line of the file, without its line end, and back; nothing for a line that is not
// a whole entry of this format.
QByteArray encode(const Entry& e);
std::optional<Entry> decode(const QByteArray& line);

// The file beside a history file.
QString fileFor(const QString& history);

// Appends the entries and flushes them to the disk; false, with the file as it was,
// when they could not be kept there.
bool append(const QString& history, const std::vector<Entry>& entries);

struct Contents {
    std::vector<Entry> entries; // after the one the history took in last
    QString lastId;             // of the file's last entry; empty when it holds none
};
// What the file holds after the entry `taken` (all of it when that entry is not there,
// as in a file begun after the history took its last one in).
Contents read(const QString& history, const QString& taken);

// Removes the file once the history took in everything up to lastId, unless another
// program appended to it since or it holds entries of a format this program cannot read.
void removeTaken(const QString& history, const QString& lastId);

} // namespace waiting
