#pragma once
#include "PgConn.h"
#include "Roster.h"

#include <string>
#include <vector>

// What `velotapper-class` does on the server, each in one transaction: bring the schema
// up to this version, add a class (its group role and teacher), enrol learners.
namespace classserver {

struct InitResult {
    bool ok = false;
    int from = 0, to = 0; // the version found and the version left
    bool newer = false;   // the server's schema is newer than this command
    std::string error;
};
InitResult init(PgConn& db);

// A login made here: its role, the generated password (never sent: the server gets its
// SCRAM verifier only), and for a learner the roster's number and name.
struct Credential {
    std::string number, name, role, password;
};

// Adds a class with its group role and teacher role; fails when the class exists.
std::optional<Credential> addClass(PgConn& db, const std::string& className, std::string* error);

// Enrols the roster's learners in the class, one login role each; numbers already in the
// class are left as they are and named in skipped.
std::optional<std::vector<Credential>> addLearners(PgConn& db, const std::string& className,
                                                   const std::vector<RosterEntry>& roster,
                                                   std::vector<std::string>* skipped,
                                                   std::string* error);

// A password for a slip: 12 letters and digits none of which reads as another
// (no 0 o 1 l), in groups of four: 60 bits from the system's random source.
std::string makePassword();

// What a learner's machine needs, as the slips print it.
struct SlipTarget {
    std::string service = "velotapper"; // the name of the pg_service.conf entry
    std::string host, port, dbname, sslmode;
};
// CSV with a header: number,name,role,password,service,pgpass; service is the entry's
// settings on one line ("[velotapper] host=... user=..."), pgpass the ~/.pgpass line.
std::string slipsCsv(const std::vector<Credential>& logins, const SlipTarget& target);

} // namespace classserver
