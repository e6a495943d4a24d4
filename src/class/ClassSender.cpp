#include "ClassSender.h"

#include "HistoryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#ifndef VELOTAPPER_SOUND_LIBDIR
#define VELOTAPPER_SOUND_LIBDIR "../lib/velotapper"
#endif

namespace {

const QString kModuleName = QStringLiteral("velotapper-class-link.so");
const QString kService = QStringLiteral("class.service");

QString trackCaption(const QString& track) {
    if (track == QLatin1String("letters"))
        return QCoreApplication::translate("ClassSender", "英字");
    if (track == QLatin1String("kana")) return QCoreApplication::translate("ClassSender", "かな");
    if (track == QLatin1String("romaji"))
        return QCoreApplication::translate("ClassSender", "ローマ字");
    return track;
}

QString gradeCaption(int index) {
    if (index < 20) return QCoreApplication::translate("ClassSender", "%1級").arg(20 - index);
    if (index == 20) return QCoreApplication::translate("ClassSender", "初段");
    return QCoreApplication::translate("ClassSender", "%1段").arg(index - 19);
}

// {"letters": 12, "kana": 5} as "英字 12・かな 5", each value shown by `value`.
QString jsonCaption(const QString& json, const std::function<QString(int)>& value) {
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    QStringList parts;
    for (auto it = o.begin(); it != o.end(); ++it)
        parts << trackCaption(it.key()) + QLatin1Char(' ') + value(it.value().toInt());
    return parts.join(QStringLiteral("・"));
}

QDateTime fromEpoch(const QString& seconds) {
    if (seconds.isNull()) return QDateTime();
    return QDateTime::fromMSecsSinceEpoch(qint64(seconds.toDouble() * 1000), Qt::UTC);
}

std::optional<double> optional(const QString& text) {
    if (text.isNull()) return std::nullopt;
    return text.toDouble();
}

} // namespace

ClassSender::ClassSender(HistoryStore& store, std::function<QString(const QString&)> setting)
    : store_(store), setting_(std::move(setting)) {
    retry_.setSingleShot(true);
    retry_.callOnTimeout(this, [this] { kick(); });
    ClassService::current() = this;
}

ClassSender::~ClassSender() {
    if (ClassService::current() == this) ClassService::current() = nullptr;
    link_.reset();
}

ClassLink* ClassSender::link() {
    if (!tried_) {
        tried_ = true;
        if (folders_.isEmpty()) {
            const QString dir = QCoreApplication::applicationDirPath();
            folders_ = {dir, QDir::cleanPath(dir + QLatin1Char('/') +
                                             QStringLiteral(VELOTAPPER_SOUND_LIBDIR))};
        }
        for (const QString& folder : folders_) {
            const QString path = QDir(folder).filePath(kModuleName);
            if (!QFileInfo::exists(path)) continue;
            library_.setFileName(path);
            if (!library_.load()) continue;
            if (auto make = reinterpret_cast<MakeClassLink*>(library_.resolve(kMakeClassLink)))
                link_.reset(make());
            break;
        }
    }
    return link_.get();
}

void ClassSender::beforeRun() {
    store_.setQueueing(!setting_(kService).isEmpty());
}

bool ClassSender::sending() const {
    return link_ && link_->sending();
}

void ClassSender::kick() {
    const QString service = setting_(kService);
    // Runs a later session takes in from beside a held history go in the outbox too.
    store_.setQueueing(!service.isEmpty());
    if (service.isEmpty() || sending()) return;
    QString file;
    std::vector<OutboxItem> items = store_.queued(kBatch, &file);
    if (items.empty()) {
        // Nothing waits: nothing is wrong that the line should say.
        problem_ = ClassProblem::None;
        emit settled();
        return;
    }
    ClassLink* l = link();
    if (!l) {
        problem_ = ClassProblem::Other;
        detail_ = QCoreApplication::translate("ClassSender",
                                              "PostgreSQL のライブラリ（libpq）を読み込めません");
        emit settled();
        return;
    }
    // Tried at once after a run, whatever waits for a retry: a run ended is a moment the
    // learner does not type, and the server may be back.
    retry_.stop();
    l->send(service, items, [this, file](const ClassSendResult& r) { done(file, r); });
}

void ClassSender::done(const QString& file, const ClassSendResult& r) {
    // Taken out only once the server has them; if that fails now they go again, once kept.
    store_.unqueue(file, r.sent);
    problem_ = r.problem;
    detail_ = r.detail;
    if (r.problem == ClassProblem::None) {
        backoffMs_ = firstRetryMs_;
        // A full batch: more may wait. The next go starts from the event loop.
        if (r.sent.size() >= std::size_t(kBatch)) {
            retry_.start(0);
            return;
        }
    } else {
        retry_.start(backoffMs_);
        backoffMs_ = std::min(backoffMs_ * 2, kLongestRetryMs);
    }
    emit settled();
}

QString ClassSender::problemText(ClassProblem p, const QString& detail) {
    switch (p) {
    case ClassProblem::None:
        return QString();
    case ClassProblem::NoService:
        return QCoreApplication::translate("ClassSender",
                                           "接続サービスが pg_service.conf にありません。");
    case ClassProblem::NoServer:
        return QCoreApplication::translate("ClassSender", "クラスのサーバーにつながりません。");
    case ClassProblem::Password:
        return QCoreApplication::translate("ClassSender",
                                           "パスワードが違うか、期限が切れています。");
    case ClassProblem::Dropped:
        return QCoreApplication::translate("ClassSender", "送信中にサーバーとの接続が切れました。");
    case ClassProblem::Newer:
        return QCoreApplication::translate(
            "ClassSender", "サーバーは新しい版のもので、このプログラムからは送れません。");
    case ClassProblem::NoSchema:
        return QCoreApplication::translate(
            "ClassSender",
            "サーバーにクラスの表がないか古い版です（velotapper-class init が必要です）。");
    case ClassProblem::Refused:
        return QCoreApplication::translate(
            "ClassSender", "サーバーが受け付けません（この役割には許されていません）。");
    case ClassProblem::Other:
        break;
    }
    return QCoreApplication::translate("ClassSender", "送れません: %1").arg(detail);
}

QString ClassSender::statusLine() {
    if (setting_(kService).isEmpty())
        return QCoreApplication::translate("ClassSender", "クラスは設定されていません。");
    const qint64 waiting = store_.queuedCount();
    if (problem_ != ClassProblem::None)
        return problemText(problem_, detail_) +
               QCoreApplication::translate("ClassSender", "%1 件は後で送ります。").arg(waiting);
    if (waiting == 0)
        return QCoreApplication::translate("ClassSender",
                                           "成績はすべてクラスのサーバーに送りました。");
    return QCoreApplication::translate("ClassSender", "%1 件が送信を待っています。").arg(waiting);
}

ClassTable ClassSender::readClass(const QString& service) {
    ClassTable table;
    ClassLink* l = link();
    if (!l) {
        table.problem = QCoreApplication::translate(
            "ClassSender", "PostgreSQL のライブラリ（libpq）を読み込めません");
        return table;
    }
    const ClassRows rows =
        l->read(service,
                {{QStringLiteral("SELECT number, name, learner, extract(epoch FROM last_practice),"
                                 " minutes_this_week, recent_runs, speed, accuracy, course::text,"
                                 " grades::text FROM velotapper.class_progress ORDER BY number"),
                  {}}},
                3);
    if (rows.problem != ClassProblem::None) {
        table.problem = problemText(rows.problem, rows.detail);
        return table;
    }
    for (const QStringList& c : rows.results.value(0)) {
        ClassLearner learner;
        learner.number = c[0];
        learner.name = c[1];
        learner.role = c[2];
        learner.lastPractice = fromEpoch(c[3]);
        learner.minutesThisWeek = c[4].toDouble();
        learner.recentRuns = c[5].toInt();
        learner.speed = optional(c[6]);
        learner.accuracy = optional(c[7]);
        learner.course = jsonCaption(c[8], [](int n) { return QString::number(n); });
        learner.grade = jsonCaption(c[9], gradeCaption);
        table.learners << learner;
    }
    return table;
}

QList<HistoryRun> ClassSender::learnerRuns(const QString& service, const QString& role,
                                           QString* problem) {
    QList<HistoryRun> runs;
    ClassLink* l = link();
    if (!l) {
        if (problem)
            *problem = QCoreApplication::translate(
                "ClassSender", "PostgreSQL のライブラリ（libpq）を読み込めません");
        return runs;
    }
    // The chart draws its last runs one by one.
    const ClassRows rows = l->read(
        service,
        {{QStringLiteral("SELECT extract(epoch FROM started_at), extract(epoch FROM ended_at),"
                         " mode, source, seconds, keys, misses, speed, completed, rhythm"
                         " FROM velotapper.runs WHERE learner = $1"
                         " ORDER BY ended_at DESC LIMIT 50"),
          {role}}},
        3);
    if (rows.problem != ClassProblem::None) {
        if (problem) *problem = problemText(rows.problem, rows.detail);
        return runs;
    }
    for (const QStringList& c : rows.results.value(0)) {
        HistoryRun r;
        r.startedAt = fromEpoch(c[0]);
        r.endedAt = fromEpoch(c[1]);
        r.mode = c[2];
        r.source = c[3];
        r.seconds = c[4].toDouble();
        r.keys = c[5].toLongLong();
        r.misses = c[6].toLongLong();
        r.speed = c[7].toDouble();
        r.completed = c[8] == QLatin1String("t");
        r.rhythm = optional(c[9]);
        runs.prepend(r);
    }
    return runs;
}
