#pragma once
#include "Course.h"
#include "HistoryTypes.h"
#include "WeakKeys.h"

#include <vector>

// The history's key figures as the practice weighs them.
KeyFigureMap keyFigureMap(const QList<HistoryKey>& keys);
// The keys of the course's last runs on a track, newest first; none without a history.
std::vector<KeyFigureMap> courseRunFigures(HistoryReader* history, course::Track track);
// The course's targets as the history keeps them, the defaults without a history.
course::Targets courseTargets(HistoryReader* history);
// The most keys the course's steps reached; 0 before its first step.
int mostUnlocked(const QList<CourseStep>& steps);
