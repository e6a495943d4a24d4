#include "RunPreparer.h"

#include "ETextNotation.h"
#include "TextDecoding.h"

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

PreparedRun RunPreparer::prepare(QIODevice& file, TextPosition start) {
    if (!file.isOpen() || !file.seek(0)) return {};
    const QByteArray sample = file.read(kSampleBytes);
    decoder_ = std::make_unique<TextDecoder>(detectEncoding(sample));

    // The notation explanation near the top, between two hyphen rules.
    qint64 skipFrom = -1, skipTo = -1, at = 0;
    const QList<QByteArray> lines = sample.split('\n');
    for (int i = 0; i + 1 < lines.size() && i < 40; ++i) {
        const bool rule = isNotationRule(decoder_->decode(lines[i]));
        const qint64 next = at + lines[i].size() + 1;
        if (rule && skipFrom < 0 && i < 20) {
            skipFrom = at;
        } else if (rule && skipFrom >= 0) {
            skipTo = next;
            break;
        }
        at = next;
    }
    if (skipTo < 0) skipFrom = -1;

    if (start.byte < 0 || start.byte >= file.size()) start = {};
    PreparedRun run = readFrom(file, start, skipFrom, skipTo);
    if (run.phrases.empty() && start != TextPosition{}) run = readFrom(file, {}, skipFrom, skipTo);
    return run;
}

PreparedRun RunPreparer::readFrom(QIODevice& file, TextPosition start, qint64 skipFrom,
                                  qint64 skipTo) {
    PreparedRun run;
    if (!file.seek(start.byte)) return run;
    bool first = true;
    // One buffer for every line: a line is read whole up to its limit.
    QByteArray buffer(kMaxLineBytes + 1, Qt::Uninitialized);
    while (!file.atEnd()) {
        const qint64 lineByte = file.pos();
        const qint64 got = file.readLine(buffer.data(), buffer.size());
        if (got <= 0) break; // a read error ends the run here
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
            counted = true;
            run.kana += int(p.reading.size());
            run.phrases.push_back(std::move(p));
            if (run.kana >= kMaxKana && i + 1 < lp.phrases.size()) {
                run.next = {lineByte, run.phrases.back().end};
                return run;
            }
        }
        if (run.kana >= kMaxKana || run.lines >= kMaxLines) {
            run.next = {file.atEnd() ? 0 : file.pos(), 0};
            return run;
        }
    }
    run.next = {};
    return run;
}
