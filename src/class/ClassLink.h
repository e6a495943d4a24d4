#pragma once
#include "Outbox.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// What stopped an exchange with the class's server.
enum class ClassProblem {
    None,
    NoService, // no such service in pg_service.conf
    NoServer,  // nothing answers where the service points
    Password,  // the password was refused (wrong, missing or its role expired)
    Dropped,   // the connection was lost while sending
    Newer,     // the server's schema is of a newer program
    NoSchema,  // the server has no class schema, or an older one
    Refused,   // the server refused a statement (a right it does not give)
    Other,
};

struct ClassSendResult {
    ClassProblem problem = ClassProblem::None;
    QString detail;           // the server's or libpq's own words
    std::vector<qint64> sent; // the outbox rows the server now has
};

// A statement and its parameters (a null QString is a NULL).
struct ClassQuery {
    QString sql;
    QStringList params;
};
struct ClassRows {
    ClassProblem problem = ClassProblem::None;
    QString detail;
    QList<QList<QStringList>> results; // one per query: rows of text columns (NULL: null)
};

// The PostgreSQL client, a module of its own (libpq is loaded with it, on first use).
class ClassLink {
public:
    virtual ~ClassLink() = default;
    // Connects to the service, checks the server's schema version, then adds the items
    // one by one; returns at once and calls done from the event loop, once, when finished
    // or stopped. One send at a time.
    virtual void send(const QString& service, const std::vector<OutboxItem>& items,
                      std::function<void(const ClassSendResult&)> done) = 0;
    virtual bool sending() const = 0;
    // Runs the queries on one connection and waits for them, each wait at most
    // timeoutSeconds (for the teacher's page, which shows what it read).
    virtual ClassRows read(const QString& service, const std::vector<ClassQuery>& queries,
                           int timeoutSeconds) = 0;
};

// The module's one exported function.
extern "C" using MakeClassLink = ClassLink * ();
inline constexpr const char* kMakeClassLink = "velotapper_make_class_link";
