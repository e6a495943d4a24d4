#include "Outbox.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace outbox {

namespace {
QString utc(const QDateTime& t) {
    return t.toUTC().toString(Qt::ISODateWithMs);
}
QString number(double v) {
    return QString::number(v, 'g', 17);
}
} // namespace

QJsonArray runParams(const RunSummary& r, const QString& uuid) {
    QJsonArray keys;
    for (const auto& [vk, k] : r.perKey)
        keys.append(QJsonObject{{QStringLiteral("vk"), vk},
                                {QStringLiteral("expected"), k.expected},
                                {QStringLiteral("missed"), k.missed},
                                {QStringLiteral("ms_total"), double(k.msTotal)},
                                {QStringLiteral("timed"), k.timed}});
    QJsonArray confusions;
    for (const auto& [c, count] : r.confusions)
        confusions.append(QJsonObject{{QStringLiteral("expected"), c.expected},
                                      {QStringLiteral("typed"), c.typed},
                                      {QStringLiteral("shift"), int(c.shift)},
                                      {QStringLiteral("count"), count}});
    const auto json = [](const QJsonArray& a) {
        return QString::fromUtf8(QJsonDocument(a).toJson(QJsonDocument::Compact));
    };
    return {uuid,
            utc(r.startedAt),
            utc(r.endedAt),
            r.mode,
            r.source,
            number(r.seconds),
            QString::number(r.keys),
            QString::number(r.misses),
            number(r.speed),
            r.completed ? QStringLiteral("true") : QStringLiteral("false"),
            r.rhythm ? QJsonValue(number(*r.rhythm)) : QJsonValue(QJsonValue::Null),
            json(keys),
            json(confusions)};
}

QJsonArray testParams(const TestResult& t, const QString& runUuid) {
    return {runUuid,
            t.way,
            QString::number(t.grade),
            t.textId,
            QString::number(t.rightChars),
            QString::number(t.faults),
            number(t.minutes),
            number(t.net),
            number(t.accuracy),
            t.passed ? QStringLiteral("true") : QStringLiteral("false")};
}

QJsonArray stepParams(const QString& track, int unlocked, const QDateTime& at) {
    return {track, QString::number(unlocked), utc(at)};
}

QByteArray encode(const QJsonArray& params) {
    return QJsonDocument(params).toJson(QJsonDocument::Compact);
}

QJsonArray decode(const QByteArray& text) {
    return QJsonDocument::fromJson(text).array();
}

} // namespace outbox
