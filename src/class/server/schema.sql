-- The class server's schema, in steps: a database of version v gets steps v+1 .. the
-- newest, each in the transaction of `velotapper-class init`, which then writes the
-- version into velotapper.meta. A step is never changed once released; a change is a
-- new step at the end. The roles named here are cluster-wide, so each database gets
-- its own prefix (vt<database oid>_): two databases of one cluster never share a role.
--
-- Roles:
--   <prefix>learner   NOLOGIN; holds what every learner may do (add and read own rows)
--   <prefix>teacher   NOLOGIN; holds what every teacher may do (read)
--   <prefix>c<id>     NOLOGIN; a class's group role, member of <prefix>learner
--   <prefix>t<id>     LOGIN; the class's teacher, member of <prefix>teacher
--   <prefix>l<id>     LOGIN; one learner, member of its class's group role
-- Row-level security decides which rows: a learner's rows are those whose `learner`
-- column is its own role; a teacher's are those of the learners of its class. Nobody
-- but the owner (the administrator who ran init) may change or delete a row.

-- velotapper step 1
CREATE SCHEMA velotapper;

CREATE TABLE velotapper.meta(
    only_row boolean PRIMARY KEY DEFAULT true CHECK (only_row),
    version integer NOT NULL,
    role_prefix text NOT NULL);
INSERT INTO velotapper.meta(version, role_prefix)
    SELECT 0, 'vt' || oid || '_' FROM pg_database WHERE datname = current_database();

CREATE TABLE velotapper.classes(
    id serial PRIMARY KEY,
    name text NOT NULL UNIQUE,
    group_role name NOT NULL UNIQUE,
    teacher_role name NOT NULL UNIQUE,
    created_at timestamptz NOT NULL DEFAULT now());

-- number: the learner's number in the class as the roster gives it (text: rosters
-- hold "12" as well as "2024-0312"); name: the display name, any text.
CREATE TABLE velotapper.learners(
    id serial PRIMARY KEY,
    class_id integer NOT NULL REFERENCES velotapper.classes,
    number text NOT NULL,
    name text NOT NULL,
    role name NOT NULL UNIQUE,
    created_at timestamptz NOT NULL DEFAULT now(),
    UNIQUE (class_id, number));

-- One row a run, keyed by the UUID the program gave it, so a run sent twice is kept
-- once. per_key: [{"vk":65,"expected":12,"missed":1,"ms_total":3400,"timed":11},...];
-- confusions: [{"expected":65,"typed":83,"shift":0,"count":2},...].
CREATE TABLE velotapper.runs(
    uuid uuid PRIMARY KEY,
    learner name NOT NULL DEFAULT current_user REFERENCES velotapper.learners(role),
    started_at timestamptz NOT NULL,
    ended_at timestamptz NOT NULL,
    mode text NOT NULL,
    source text NOT NULL DEFAULT '',
    seconds double precision NOT NULL,
    keys bigint NOT NULL,
    misses bigint NOT NULL,
    speed double precision NOT NULL,
    completed boolean NOT NULL,
    rhythm double precision,
    per_key jsonb NOT NULL DEFAULT '[]',
    confusions jsonb NOT NULL DEFAULT '[]',
    received_at timestamptz NOT NULL DEFAULT now());
-- A learner's last practice, this week's minutes and last 20 runs all read this.
CREATE INDEX runs_by_learner ON velotapper.runs(learner, ended_at);

-- A grade test's result, beside its run (same UUID).
CREATE TABLE velotapper.test_results(
    run_uuid uuid PRIMARY KEY REFERENCES velotapper.runs,
    learner name NOT NULL DEFAULT current_user REFERENCES velotapper.learners(role),
    way text NOT NULL,
    grade integer NOT NULL,
    text_id text NOT NULL DEFAULT '',
    right_chars integer NOT NULL DEFAULT 0,
    faults integer NOT NULL DEFAULT 0,
    minutes double precision NOT NULL DEFAULT 0,
    net double precision NOT NULL DEFAULT 0,
    accuracy double precision NOT NULL DEFAULT 0,
    passed boolean NOT NULL);
CREATE INDEX test_results_by_learner ON velotapper.test_results(learner);

-- A step of the guided course: a track's unlocked key count only grows, so a step is
-- reached once and (learner, track, unlocked) keys it.
CREATE TABLE velotapper.course_steps(
    learner name NOT NULL DEFAULT current_user REFERENCES velotapper.learners(role),
    track text NOT NULL,
    unlocked integer NOT NULL,
    at timestamptz NOT NULL,
    PRIMARY KEY (learner, track, unlocked));

ALTER TABLE velotapper.classes ENABLE ROW LEVEL SECURITY;
ALTER TABLE velotapper.learners ENABLE ROW LEVEL SECURITY;
ALTER TABLE velotapper.runs ENABLE ROW LEVEL SECURITY;
ALTER TABLE velotapper.test_results ENABLE ROW LEVEL SECURITY;
ALTER TABLE velotapper.course_steps ENABLE ROW LEVEL SECURITY;

-- Reading: one's own rows, or, for a teacher, the rows of the class it teaches. The
-- policy of classes does not look at learners (a learner finds its class through
-- its group role), so no policy refers back to itself.
CREATE POLICY own_or_taught ON velotapper.classes FOR SELECT
    USING (teacher_role = current_user OR pg_has_role(current_user, group_role, 'MEMBER'));
CREATE POLICY own_or_taught ON velotapper.learners FOR SELECT
    USING (role = current_user
           OR class_id IN (SELECT id FROM velotapper.classes WHERE teacher_role = current_user));
CREATE POLICY own_or_taught ON velotapper.runs FOR SELECT
    USING (learner = current_user
           OR learner IN (SELECT role FROM velotapper.learners WHERE class_id IN
                          (SELECT id FROM velotapper.classes WHERE teacher_role = current_user)));
CREATE POLICY own_or_taught ON velotapper.test_results FOR SELECT
    USING (learner = current_user
           OR learner IN (SELECT role FROM velotapper.learners WHERE class_id IN
                          (SELECT id FROM velotapper.classes WHERE teacher_role = current_user)));
CREATE POLICY own_or_taught ON velotapper.course_steps FOR SELECT
    USING (learner = current_user
           OR learner IN (SELECT role FROM velotapper.learners WHERE class_id IN
                          (SELECT id FROM velotapper.classes WHERE teacher_role = current_user)));

-- Adding: only rows of one's own; a test result only beside one's own run (the
-- subquery sees only the runs the reader may read). There is no policy for UPDATE or
-- DELETE, and no grant of them: the history on the server is never changed by a client.
CREATE POLICY add_own ON velotapper.runs FOR INSERT WITH CHECK (learner = current_user);
CREATE POLICY add_own ON velotapper.course_steps FOR INSERT WITH CHECK (learner = current_user);
CREATE POLICY add_own ON velotapper.test_results FOR INSERT
    WITH CHECK (learner = current_user
                AND EXISTS (SELECT 1 FROM velotapper.runs r WHERE r.uuid = run_uuid));

-- The teacher's page: one row a learner of the class. "This week" begins on Monday
-- 00:00 in the session's TimeZone. speed is the mean of the runs' own speeds;
-- keys_per_minute and accuracy (percent of keys typed right) are over the same last
-- 20 runs. course: {"letters": 12, "kana": 5}, each track's unlocked key count;
-- grades: {"romaji": 3}, the highest grade index passed on each way.
CREATE VIEW velotapper.class_progress WITH (security_invoker = true) AS
SELECT c.name AS class, l.number, l.name, l.role AS learner,
       last.at AS last_practice,
       coalesce(week.minutes, 0) AS minutes_this_week,
       recent.runs AS recent_runs, recent.speed, recent.keys_per_minute, recent.accuracy,
       coalesce(course.stage, '{}') AS course,
       coalesce(grade.best, '{}') AS grades
FROM velotapper.learners l
JOIN velotapper.classes c ON c.id = l.class_id
LEFT JOIN LATERAL (SELECT max(r.ended_at) AS at FROM velotapper.runs r
                   WHERE r.learner = l.role) last ON true
LEFT JOIN LATERAL (SELECT sum(r.seconds) / 60 AS minutes FROM velotapper.runs r
                   WHERE r.learner = l.role AND r.ended_at >= date_trunc('week', now())) week ON true
LEFT JOIN LATERAL (SELECT count(*) AS runs, avg(t.speed) AS speed,
                          sum(t.keys) * 60 / nullif(sum(t.seconds), 0) AS keys_per_minute,
                          100.0 * sum(t.keys) / nullif(sum(t.keys + t.misses), 0) AS accuracy
                   FROM (SELECT r.speed, r.keys, r.misses, r.seconds FROM velotapper.runs r
                         WHERE r.learner = l.role ORDER BY r.ended_at DESC LIMIT 20) t) recent ON true
LEFT JOIN LATERAL (SELECT jsonb_object_agg(s.track, s.unlocked) AS stage
                   FROM (SELECT track, max(unlocked) AS unlocked FROM velotapper.course_steps
                         WHERE learner = l.role GROUP BY track) s) course ON true
LEFT JOIN LATERAL (SELECT jsonb_object_agg(g.way, g.grade) AS best
                   FROM (SELECT way, max(grade) AS grade FROM velotapper.test_results
                         WHERE learner = l.role AND passed GROUP BY way) g) grade ON true;

DO $$
DECLARE p text := (SELECT role_prefix FROM velotapper.meta);
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = p || 'learner') THEN
        EXECUTE format('CREATE ROLE %I NOLOGIN', p || 'learner');
    END IF;
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = p || 'teacher') THEN
        EXECUTE format('CREATE ROLE %I NOLOGIN', p || 'teacher');
    END IF;
    EXECUTE format('GRANT CONNECT ON DATABASE %I TO %I, %I', current_database(),
                   p || 'learner', p || 'teacher');
    EXECUTE format('GRANT USAGE ON SCHEMA velotapper TO %I, %I', p || 'learner', p || 'teacher');
    EXECUTE format('GRANT SELECT ON velotapper.classes, velotapper.learners, velotapper.runs,'
                   ' velotapper.test_results, velotapper.course_steps, velotapper.class_progress'
                   ' TO %I, %I', p || 'learner', p || 'teacher');
    EXECUTE format('GRANT INSERT ON velotapper.runs, velotapper.test_results,'
                   ' velotapper.course_steps TO %I', p || 'learner');
END $$;
-- Every client reads the version first, to tell a newer server.
GRANT USAGE ON SCHEMA velotapper TO PUBLIC;
GRANT SELECT ON velotapper.meta TO PUBLIC;
