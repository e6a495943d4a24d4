// Many learners sending runs to one class server at once: a real PostgreSQL of the
// benchmark's own (durable: fsync and synchronous commit on), classes of 40, each
// learner a thread with its own login. Two rounds, every learner released together:
//   - connect, send one run, disconnect: a program that holds no connection (SCRAM
//     login and a new server process each time);
//   - on an open connection, send runs one after another, each its own transaction.
// Prints runs per second and the send times' median and 95th percentile.
//   bench_classsend [--learners N] [--runs R]      (default 1000 learners, 10 runs)
#include "ClassAdmin.h"
#include "PgServer.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <latch>
#include <mutex>
#include <thread>

using namespace classserver;
using Clock = std::chrono::steady_clock;

namespace {

// A run as the program sends it: some 30 keys' figures.
std::string perKey() {
    std::string s = "[";
    for (int vk = 65; vk < 95; ++vk)
        s += (vk > 65 ? "," : "") + std::string("{\"vk\":") + std::to_string(vk) +
             ",\"expected\":12,\"missed\":1,\"ms_total\":3400,\"timed\":11}";
    return s + "]";
}

const char kInsert[] =
    "INSERT INTO velotapper.runs(uuid, started_at, ended_at, mode, source, seconds, keys,"
    " misses, speed, completed, rhythm, per_key, confusions) VALUES ($1::uuid,"
    " $2::timestamptz, $3::timestamptz, 'lesson', 'Lesson1.txt', 62.5, 310, 7, 4.96,"
    " true, 81.5, $4::jsonb, '[{\"expected\":65,\"typed\":83,\"shift\":0,\"count\":2}]')"
    " ON CONFLICT (uuid) DO NOTHING";

std::string uuid(int learner, int run) {
    char b[40];
    std::snprintf(b, sizeof b, "%08x-0000-4000-8000-%012x", unsigned(learner), unsigned(run));
    return b;
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

bool send(PgConn& c, int learner, int run, const std::string& keys) {
    return c.exec(kInsert, {uuid(learner, run), "2026-12-09T09:00:00Z", "2026-12-09T09:01:02Z",
                            keys}) != nullptr;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int learners = 1000, runs = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--learners"))
            learners = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--runs"))
            runs = std::atoi(argv[i + 1]);
    }
    if (!PgServer::available()) {
        std::fprintf(stderr, "bench_classsend: PostgreSQL 15 is not installed; nothing measured\n");
        return 0;
    }
    PgServer pg(PgServer::Options{learners + 20, true, false});
    if (!pg.start()) return std::fprintf(stderr, "%s\n", qPrintable(pg.error())), 1;
    {
        PgConn root(pg.adminConninfo().toStdString());
        if (!root.run("CREATE DATABASE district"))
            return std::fprintf(stderr, "%s\n", root.error().c_str()), 1;
    }
    PgConn admin(pg.adminConninfo("district").toStdString());
    if (!init(admin).ok) return std::fprintf(stderr, "init: %s\n", admin.error().c_str()), 1;
    std::vector<Credential> logins;
    std::string error;
    const auto enrolStart = Clock::now();
    for (int cls = 0; int(logins.size()) < learners; ++cls) {
        const std::string name = "class " + std::to_string(cls);
        if (!addClass(admin, name, &error)) return std::fprintf(stderr, "%s\n", error.c_str()), 1;
        std::vector<RosterEntry> roster;
        for (int n = 1; n <= 40 && int(logins.size() + roster.size()) < learners; ++n)
            roster.push_back({std::to_string(n), "learner " + std::to_string(n), n});
        std::vector<std::string> skipped;
        auto added = addLearners(admin, name, roster, &skipped, &error);
        if (!added) return std::fprintf(stderr, "%s\n", error.c_str()), 1;
        logins.insert(logins.end(), added->begin(), added->end());
    }

    const double enrolSeconds = std::chrono::duration<double>(Clock::now() - enrolStart).count();
    const std::string keys = perKey();
    std::mutex m;
    std::vector<double> whole, sends;
    int failures = 0;
    std::vector<std::unique_ptr<PgConn>> conns(static_cast<size_t>(learners));

    // Round 1: every learner connects, sends its first run and keeps the connection
    // for round 2 (the time counted is the connect and the send).
    {
        std::latch go(learners + 1);
        std::vector<std::thread> ts;
        for (int l = 0; l < learners; ++l)
            ts.emplace_back([&, l] {
                go.arrive_and_wait();
                const auto t0 = Clock::now();
                auto c = std::make_unique<PgConn>(
                    pg.tcpConninfo(QString::fromStdString(logins[size_t(l)].role),
                                   QString::fromStdString(logins[size_t(l)].password), "district",
                                   300)
                        .toStdString());
                const bool ok = c->ok() && send(*c, l, 0, keys);
                const double t = ms(Clock::now() - t0);
                std::lock_guard lock(m);
                if (ok)
                    whole.push_back(t);
                else if (failures++ == 0)
                    std::fprintf(stderr, "send failed: %s\n", c->error().c_str());
                conns[size_t(l)] = std::move(c);
            });
        go.arrive_and_wait();
        for (auto& t : ts) t.join();
    }
    // Round 2: on the open connections, runs 1..R, all learners at once.
    const auto start = Clock::now();
    {
        std::latch go(learners + 1);
        std::vector<std::thread> ts;
        for (int l = 0; l < learners; ++l)
            ts.emplace_back([&, l] {
                std::vector<double> mine;
                go.arrive_and_wait();
                PgConn* c = conns[size_t(l)].get();
                for (int r = 1; r <= runs && c->ok(); ++r) {
                    const auto t0 = Clock::now();
                    if (send(*c, l, r, keys)) mine.push_back(ms(Clock::now() - t0));
                }
                std::lock_guard lock(m);
                failures += runs - int(mine.size());
                sends.insert(sends.end(), mine.begin(), mine.end());
            });
        go.arrive_and_wait();
        for (auto& t : ts) t.join();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    conns.clear();
    const std::string count = value(admin.exec("SELECT count(*) FROM velotapper.runs"), 0, 0);

    std::printf("learners: %d\n", learners);
    std::printf("enrol_per_learner: %.1f ms\n", enrolSeconds * 1000 / learners);
    std::printf("runs_stored: %s runs\n", count.c_str());
    std::printf("failed_sends: %d\n", failures);
    std::printf(
        "bytes_per_run: %s bytes\n",
        value(
            admin.exec(
                "SELECT pg_total_relation_size('velotapper.runs') / count(*) FROM velotapper.runs"),
            0, 0)
            .c_str());
    std::printf("connect_and_send_p50: %.1f ms\n", percentile(whole, 0.50));
    std::printf("connect_and_send_p95: %.1f ms\n", percentile(whole, 0.95));
    std::printf("runs_per_second: %.0f runs/s\n", double(sends.size()) / seconds);
    std::printf("send_p50: %.1f ms\n", percentile(sends, 0.50));
    std::printf("send_p95: %.1f ms\n", percentile(sends, 0.95));
    return failures == 0 && std::stol(count) == long(learners) * (runs + 1) ? 0 : 1;
}
