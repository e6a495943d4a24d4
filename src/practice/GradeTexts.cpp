#include "GradeTexts.h"

#include "KanaText.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>
#include <utility>

namespace grades {

namespace {

// Below this many characters a text is too short for any test.
constexpr int kLeast = 40;

// A fixed permutation of a frame's line numbers 0 .. n-1: a four-round Feistel network
// over the smallest even number of bits that holds n, walked again while it lands past
// n. Neighbouring numbers land far apart, so a week's lines draw every pool's words in
// no visible order.
struct Mix {
    std::uint64_t n = 1, salt = 0;
    int half = 1; // bits in each half
    // salt: the frame's place in the band, so the frames of a week go their own ways.
    Mix(std::uint64_t lines, std::uint64_t frame)
        : n(std::max<std::uint64_t>(lines, 1)), salt(frame) {
        while ((1ULL << (2 * half)) < n) ++half;
    }
    static std::uint64_t hash(std::uint64_t x) {
        x += 0x9E3779B97F4A7C15ULL;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
        return x ^ (x >> 31);
    }
    std::uint64_t once(std::uint64_t x) const {
        const std::uint64_t mask = (1ULL << half) - 1;
        std::uint64_t l = x >> half, r = x & mask;
        for (std::uint64_t round = 0; round < 4; ++round) {
            const std::uint64_t f = hash(r ^ (round << 40) ^ (salt << 48)) & mask;
            l = std::exchange(r, l ^ f);
        }
        return (l << half) | r;
    }
    std::uint64_t operator()(std::uint64_t i) const {
        std::uint64_t x = i % n;
        do x = once(x);
        while (x >= n);
        return x;
    }
};

QString isoWeek(QDate date, int attempt) {
    int year = 0;
    const int week = date.weekNumber(&year);
    return QStringLiteral("%1-W%2.%3").arg(year).arg(week, 2, 10, QLatin1Char('0')).arg(attempt);
}

// The Monday of an ISO week, or an invalid date.
QDate mondayOf(int year, int week) {
    const QDate jan4(year, 1, 4);
    if (!jan4.isValid() || week < 1 || week > 53) return {};
    const QDate monday = jan4.addDays(1 - jan4.dayOfWeek()).addDays(7 * (week - 1));
    int y = 0;
    return monday.weekNumber(&y) == week && y == year ? monday : QDate();
}

// Numbers each frame gives a block of a week.
std::uint64_t blockOf(const Band& band) {
    return (kBlockLines + band.frames.size() - 1) / band.frames.size();
}

bool readable(const LinePhrases& line) {
    if (line.leftOut || line.phrases.empty()) return false;
    for (const Phrase& p : line.phrases)
        if (p.skipped > 0) return false;
    return true;
}

// The readings of the pieces of a text's lines, each piece read once: a pool's word or
// a frame's text without kanji as written, with kanji as the dictionary reads it alone.
// Reading the pieces rather than the lines costs a few dozen short analyses a text
// instead of one over every line.
class PieceReadings {
public:
    explicit PieceReadings(ReadingSource& reader) : reader_(reader) {}
    std::optional<QString> of(const QString& piece) {
        auto it = seen_.constFind(piece);
        if (it == seen_.constEnd()) it = seen_.insert(piece, read(piece));
        return *it;
    }

private:
    std::optional<QString> read(const QString& piece) {
        if (std::none_of(piece.begin(), piece.end(), [](QChar c) { return kana::isKanji(c); }))
            return kana::typeablePart(piece);
        const LinePhrases phrases = phrasesOfLine(piece, reader_);
        if (!readable(phrases)) return std::nullopt;
        QString reading;
        for (const Phrase& p : phrases.phrases) reading += p.reading;
        return reading;
    }
    ReadingSource& reader_;
    QHash<QString, std::optional<QString>> seen_;
};

// A line's phrases, one between spaces at a time; false when a piece cannot be read.
bool phrasesOfPieces(const QStringList& pieces, PieceReadings& readings, std::vector<Phrase>& out) {
    Phrase phrase;
    int column = 0;
    const auto close = [&] {
        if (!phrase.written.isEmpty()) {
            phrase.end = column;
            out.push_back(phrase);
        }
        phrase = Phrase{};
    };
    for (const QString& piece : pieces) {
        const QStringList parts = piece.split(QLatin1Char(' '));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0) {
                close();
                ++column;
            }
            if (parts[i].isEmpty()) continue;
            const std::optional<QString> reading = readings.of(parts[i]);
            if (!reading) return false;
            if (phrase.written.isEmpty()) phrase.start = column;
            phrase.written += parts[i];
            phrase.reading += *reading;
            column += int(parts[i].size());
        }
    }
    close();
    return true;
}

} // namespace

std::optional<Band> parseBand(const QString& name, const QByteArray& bytes) {
    Band band;
    band.name = name;
    band.japanese = name.startsWith(QLatin1String("ja-"));
    band.checksum = QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(8));
    QHash<QString, int> poolOf;
    QStringList frameLines;
    int current = -2; // -1 frames, >= 0 a pool
    for (const QString& raw : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(QLatin1Char('@'))) {
            const QString section = line.mid(1).trimmed();
            if (section == QLatin1String("frames")) {
                current = -1;
                continue;
            }
            current = int(poolOf.value(section, int(band.pools.size())));
            if (current == int(band.pools.size())) {
                poolOf.insert(section, current);
                band.pools.emplace_back();
            }
            continue;
        }
        if (current == -1) {
            frameLines << line;
        } else if (current >= 0) {
            // A word twice in a pool would make one line twice.
            if (!band.pools[std::size_t(current)].contains(line))
                band.pools[std::size_t(current)] << line;
        } else {
            return std::nullopt; // text before any section
        }
    }
    static const QRegularExpression slot(QStringLiteral("\\{([^{}]+)\\}"));
    for (const QString& f : frameLines) {
        std::vector<Band::Part> parts;
        std::uint64_t count = 1;
        qsizetype at = 0;
        for (auto it = slot.globalMatch(f); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.capturedStart() > at) parts.push_back({f.mid(at, m.capturedStart() - at), -1});
            const auto pool = poolOf.constFind(m.captured(1));
            if (pool == poolOf.constEnd() || band.pools[std::size_t(*pool)].isEmpty())
                return std::nullopt;
            parts.push_back({QString(), *pool});
            count *= std::uint64_t(band.pools[std::size_t(*pool)].size());
            if (count > (1ULL << 31)) count = 1ULL << 31; // the rest of the frame is not used
            at = m.capturedEnd();
        }
        if (at < f.size()) parts.push_back({f.mid(at), -1});
        band.frames.push_back(std::move(parts));
        band.frameLines.push_back(count);
    }
    if (band.frames.empty()) return std::nullopt;
    for (std::uint64_t lines : band.frameLines)
        if (lines < std::uint64_t(kWeeksLeast * kAttempts) * blockOf(band)) return std::nullopt;
    return band;
}

const Band* shippedBand(const QString& name) {
    static QHash<QString, std::optional<Band>> bands;
    auto it = bands.find(name);
    if (it == bands.end()) {
        QFile f(QStringLiteral(":/grades/%1.pool").arg(name));
        std::optional<Band> band;
        if (f.open(QIODevice::ReadOnly)) band = parseBand(name, f.readAll());
        it = bands.insert(name, std::move(band));
    }
    return it->has_value() ? &**it : nullptr;
}

QString lineAt(const Band& band, std::size_t frame, std::uint64_t n) {
    return linePieces(band, frame, n).join(QString());
}

QStringList linePieces(const Band& band, std::size_t frame, std::uint64_t n) {
    QStringList out;
    // The first slot takes the lowest digit: neighbouring numbers differ at the front.
    for (const Band::Part& part : band.frames[frame]) {
        if (part.pool < 0) {
            out << part.text;
            continue;
        }
        const QStringList& pool = band.pools[std::size_t(part.pool)];
        out << pool[qsizetype(n % std::uint64_t(pool.size()))];
        n /= std::uint64_t(pool.size());
    }
    return out;
}

QString weekLine(const Band& band, qint64 week, int attempt, int k) {
    return weekPieces(band, week, attempt, k).join(QString());
}

QStringList weekPieces(const Band& band, qint64 week, int attempt, int k) {
    const std::size_t frames = band.frames.size();
    const std::size_t frame = std::size_t(k) % frames;
    const std::uint64_t block = blockOf(band);
    const std::uint64_t n =
        std::uint64_t(week * kAttempts + attempt) * block + std::uint64_t(k) / frames;
    return linePieces(band, frame, Mix(band.frameLines[frame], frame)(n));
}

qint64 weekNumber(QDate date) {
    return date.addDays(1 - date.dayOfWeek()).toJulianDay() / 7;
}

int charsNeeded(const Grade& grade) {
    return std::max(kLeast, 2 * grade.minutes * grade.passNet);
}

std::optional<TestText> compose(const Band& band, QDate date, int attempt, int need,
                                ReadingSource& reader) {
    const qint64 week = weekNumber(date);
    TestText t;
    QStringList written;
    PieceReadings readings(reader);
    for (int k = 0; k < kBlockLines && t.chars < need; ++k) {
        const QStringList pieces = weekPieces(band, week, attempt, k);
        const QString line = pieces.join(QString());
        if (band.japanese) {
            const std::size_t from = t.phrases.size();
            if (!phrasesOfPieces(pieces, readings, t.phrases)) return std::nullopt;
            for (std::size_t i = from; i < t.phrases.size(); ++i) {
                t.chars += int(t.phrases[i].reading.size());
                t.phrases[i].line = written.size();
            }
        } else {
            t.chars += int(line.size()) + (written.isEmpty() ? 0 : 1); // the line end before
        }
        written << line;
    }
    if (t.chars < need) return std::nullopt;
    t.written = written.join(QLatin1Char('\n'));
    t.id = QStringLiteral("%1/%2/%3/%4")
               .arg(band.name, isoWeek(date, attempt))
               .arg(need)
               .arg(band.checksum);
    return t;
}

std::optional<TestText> choose(const Band& band, QDate date, int need, ReadingSource& reader) {
    for (int attempt = 0; attempt < kAttempts; ++attempt)
        if (std::optional<TestText> t = compose(band, date, attempt, need, reader)) return t;
    return std::nullopt;
}

std::optional<TestText> testText(Way way, int index, QDate localDate, ReadingSource& reader) {
    const std::optional<Grade> g = gradeAt(way, index);
    const Band* band = g ? shippedBand(g->band) : nullptr;
    if (!band || !localDate.isValid()) return std::nullopt;
    return choose(*band, localDate, charsNeeded(*g), reader);
}

std::optional<TestText> textById(const QString& id, ReadingSource& reader) {
    static const QRegularExpression form(
        QStringLiteral("^([a-z-]+)/(\\d{4})-W(\\d{2})\\.(\\d+)/(\\d+)/([0-9a-f]{8})$"));
    const QRegularExpressionMatch m = form.match(id);
    if (!m.hasMatch()) return std::nullopt;
    const Band* band = shippedBand(m.captured(1));
    const QDate monday = mondayOf(m.captured(2).toInt(), m.captured(3).toInt());
    const int attempt = m.captured(4).toInt();
    if (!band || band->checksum != m.captured(6) || !monday.isValid() || attempt >= kAttempts)
        return std::nullopt;
    return compose(*band, monday, attempt, m.captured(5).toInt(), reader);
}

} // namespace grades
