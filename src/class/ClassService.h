#pragma once
#include "HistoryTypes.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// One learner of the teacher's class as the class's server sums them up.
struct ClassLearner {
    QString number, name, role;
    QDateTime lastPractice; // invalid: never
    double minutesThisWeek = 0;
    int recentRuns = 0;
    std::optional<double> speed, accuracy; // over the last 20 runs; none without runs
    QString course;                        // the course's stage per track, as shown
    QString grade;                         // the highest grades passed, as shown
};
struct ClassTable {
    QString problem; // why nothing was read; empty when read
    QList<ClassLearner> learners;
};

// What the windows need of the class: the settings' status line and the teacher's
// reads. The application sets the one there is; none without it.
class ClassService {
public:
    virtual ~ClassService() = default;
    // One line: what is wrong now, or how many additions wait to be sent.
    virtual QString statusLine() = 0;
    virtual ClassTable readClass(const QString& service) = 0;
    // A learner's runs (role as the table gives it), oldest first.
    virtual QList<HistoryRun> learnerRuns(const QString& service, const QString& role,
                                          QString* problem) = 0;

    static ClassService*& current() {
        static ClassService* service = nullptr;
        return service;
    }
};
