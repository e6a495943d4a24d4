#pragma once
#include <QtGlobal>

class HistoryStore;

// Adds n made-up runs to the store, as a learner over some months would leave them
// (runsPerDay a day from 2026-01-05 on, getting faster, three modes), for screenshots,
// tests and benchmarks. Every run's keys and misses add up over its keys and confusions.
// The same seed gives the same history. False when the store took them not.
bool fillHistory(HistoryStore& store, int n, quint32 seed, int runsPerDay = 8);
