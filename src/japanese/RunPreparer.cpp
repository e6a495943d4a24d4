#include "RunPreparer.h"

#include "ETextNotation.h"
#include "TextDecoding.h"

#include <QBuffer>
#include <QStringList>
#include <memory>

namespace {

QString chopLineEnd(QString s) {
    while (s.endsWith(u'\n') || s.endsWith(u'\r')) s.chop(1);
    return s;
}

} // namespace

QString TextPosition::toString() const {
    return QStringLiteral("%1:%2").arg(byte).arg(column);
}

TextPosition TextPosition::fromString(const QString& s) {
    const QStringList parts = s.split(u':');
    TextPosition p;
    if (parts.size() != 2) return p;
    bool ok1 = false, ok2 = false;
    p.byte = parts[0].toLongLong(&ok1);
    p.column = parts[1].toInt(&ok2);
    if (!ok1 || !ok2 || p.byte < 0 || p.column < 0) return {};
    return p;
}

// Where the closing credits of an e-text start (a line opening with 底本, the source
// edition, near the end and the lines after it), or the file's size.
qint64 RunPreparer::creditsStart(QIODevice& file) {
    const qint64 size = file.size();
    const qint64 from = qMax<qint64>(0, size - kSampleBytes);
    if (!file.seek(from)) return size;
    const QByteArray tail = file.read(size - from);
    // A line end byte is never part of a character in the three encodings.
    qsizetype at = 0;
    if (from > 0 && (at = tail.indexOf('\n') + 1) == 0) return size;
    for (;;) {
        const qsizetype end = tail.indexOf('\n', at);
        const QString line =
            decoder_->decode(QByteArrayView(tail).sliced(at, (end < 0 ? tail.size() : end) - at));
        if (line.startsWith(QStringLiteral("底本：")) || line.startsWith(QStringLiteral("底本:")))
            return from + at;
        if (end < 0) return size;
        at = end + 1;
    }
}

PreparedRun RunPreparer::prepare(QIODevice& input, TextPosition start) {
    if (!input.isOpen() || !input.seek(0)) return {};
    const QByteArray sample = input.read(kSampleBytes);
    const TextEncoding encoding = detectEncoding(sample);
    if (encoding == TextEncoding::NotText) return {};
    decoder_ = std::make_unique<TextDecoder>(encoding);
    // A file the sample holds whole is not read again: its credits and its run come
    // from the sample.
    QBuffer whole;
    QIODevice* source = &input;
    if (sample.size() == input.size()) {
        whole.setData(sample);
        if (whole.open(QIODevice::ReadOnly)) source = &whole;
    }
    QIODevice& file = *source;

    // The notation explanation near the top, between two hyphen rules, and the title
    // block before it.
    qint64 skipFrom = -1, skipTo = -1, at = 0;
    const QList<QByteArray> lines = sample.split('\n');
    for (int i = 0; i + 1 < lines.size() && i < 40; ++i) {
        const bool rule = isNotationRule(decoder_->decode(lines[i]));
        const qint64 next = at + lines[i].size() + 1;
        if (rule && skipFrom < 0 && i < 20) {
            skipFrom = 0;
        } else if (rule && skipFrom >= 0) {
            skipTo = next;
            break;
        }
        at = next;
    }
    if (skipTo < 0) skipFrom = -1;
    end_ = creditsStart(file);

    if (start.byte < 0 || start.byte >= end_) start = {};
    PreparedRun run = readFrom(file, start, skipFrom, skipTo);
    if (run.phrases.empty() && start != TextPosition{}) run = readFrom(file, {}, skipFrom, skipTo);
    return run;
}

PreparedRun RunPreparer::readFrom(QIODevice& file, TextPosition start, qint64 skipFrom,
                                  qint64 skipTo) {
    PreparedRun run;
    if (!file.seek(start.byte)) return run;
    bool first = true;
    // One buffer for every line: a line is read whole up to its limit, a longer one in
    // pieces cut between characters.
    QByteArray buffer(kMaxLineBytes + 1, Qt::Uninitialized);
    while (!file.atEnd() && file.pos() < end_) {
        const qint64 lineByte = file.pos();
        qint64 got = file.readLine(buffer.data(), buffer.size());
        if (got <= 0) break; // a read error ends the run here
        if (buffer[got - 1] != '\n' && !file.atEnd()) {
            const qint64 whole = wholeCharacters({buffer.constData(), got}, decoder_->encoding());
            if (whole > 0 && whole < got && file.seek(lineByte + whole)) got = whole;
        }
        const QByteArrayView bytes(buffer.constData(), got);
        const int from = first ? start.column : 0;
        first = false;
        if (lineByte >= skipFrom && lineByte < skipTo) continue;
        const QString line = chopLineEnd(decoder_->decode(bytes));
        LinePhrases lp = phrasesOfLine(line, reader_);
        run.dictionaryMissing = run.dictionaryMissing || lp.leftOut;
        bool counted = false;
        for (std::size_t i = 0; i < lp.phrases.size(); ++i) {
            Phrase& p = lp.phrases[i];
            if (p.start < from) continue;
            p.line = lineByte;
            if (!counted) ++run.lines;
            run.skipped += p.skipped;
            counted = true;
            run.kana += int(p.reading.size());
            run.phrases.push_back(std::move(p));
            if (run.kana >= kMaxKana && i + 1 < lp.phrases.size()) {
                run.next = {lineByte, run.phrases.back().end};
                return run;
            }
        }
        if (run.kana >= kMaxKana || run.lines >= kMaxLines) {
            run.next = {file.atEnd() || file.pos() >= end_ ? 0 : file.pos(), 0};
            return run;
        }
    }
    run.next = {};
    return run;
}
