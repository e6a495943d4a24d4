#pragma once

// What the program and the class server agree on. The schema itself is schema.sql
// beside this file; `velotapper-class init` writes it, in steps, and stores its version.
//
// Connecting: a learner's (or teacher's) connection is an ordinary libpq service
// ("service=NAME"), its password in ~/.pgpass. The role is the login: the server takes
// the learner from the session (the `learner` column defaults to current_user), so a
// client never names the learner and cannot name another.
//
// Version first: `SELECT version FROM velotapper.meta` (readable by every role).
//   - no such table (SQLSTATE 42P01): the database has no class schema (init not run);
//   - version > kServerVersion: the server is newer than this program: send nothing,
//     keep the queue, and say so;
//   - version < kServerVersion: the server's schema is older than the program's: the
//     administrator runs `velotapper-class init` again (it brings it up); keep the queue;
//   - equal: send.
//
// Adding a run (one statement, bound parameters, its own transaction or one per batch):
//   INSERT INTO velotapper.runs(uuid, started_at, ended_at, mode, source, seconds, keys,
//       misses, speed, completed, rhythm, per_key, confusions)
//   VALUES ($1::uuid, $2::timestamptz, $3::timestamptz, $4, $5, $6, $7, $8, $9,
//       $10::boolean, $11, $12::jsonb, $13::jsonb)
//   ON CONFLICT (uuid) DO NOTHING
// per_key   = [{"vk":65,"expected":12,"missed":1,"ms_total":3400,"timed":11}, ...]
// confusions = [{"expected":65,"typed":83,"shift":0,"count":2}, ...] (shift: 0 none,
//              1 missing, 2 extra; ShiftSlip's values)
// rhythm NULL when the run has none. Times in UTC with an offset ("...Z" is fine).
//
// A grade test's result, after its run (same UUID; refused beside another's run):
//   INSERT INTO velotapper.test_results(run_uuid, way, grade, text_id, right_chars,
//       faults, minutes, net, accuracy, passed)
//   VALUES ($1::uuid, $2, $3, $4, $5, $6, $7, $8, $9, $10::boolean)
//   ON CONFLICT (run_uuid) DO NOTHING
// A course step:
//   INSERT INTO velotapper.course_steps(track, unlocked, at) VALUES ($1, $2, $3::timestamptz)
//   ON CONFLICT DO NOTHING
// Sending twice keeps one copy: every row has a natural key and the inserts do nothing
// on a conflict, so a queue that resends after a lost answer loses and doubles nothing.
// A learner's role may add and read its own rows only; UPDATE and DELETE are refused
// (SQLSTATE 42501, permission denied) as is a row naming another learner (42501,
// row-level security).
//
// The teacher reads `SELECT * FROM velotapper.class_progress ORDER BY number`: one row a
// learner of its own class (row-level security shows no other class):
//   class text, number text, name text, learner name (the learner's role),
//   last_practice timestamptz (NULL: never), minutes_this_week double precision
//   (since Monday 00:00 in the session's TimeZone: set it to the machine's zone first),
//   recent_runs bigint, speed double precision (mean of the runs' speeds),
//   keys_per_minute double precision, accuracy double precision (percent) over the
//   last 20 runs, course jsonb ({"letters":12,"kana":5}: unlocked keys per track),
//   grades jsonb ({"romaji":3}: highest grade index passed per way).
// A chosen learner's runs: SELECT ... FROM velotapper.runs WHERE learner = $1 ORDER BY
// ended_at (and test_results, course_steps alike): the same policies let the teacher
// read them.
namespace classserver {

// The version of schema.sql's newest step, written into velotapper.meta by init.
inline constexpr int kServerVersion = 1;

} // namespace classserver
