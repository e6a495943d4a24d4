#pragma once
#include "PracticeRecord.h"

class QWidget;

inline constexpr char kRecordFileName[] = "Velotap.bin";

// Reads the record file of the working directory, or applies the defaults. A short
// file shows the format message first.
void loadRecord(PracticeRecord& record, QWidget* parent = nullptr);
// Writes the whole record, replacing the file atomically and keeping its owner, group
// and permissions; a file with other links, one that cannot be read, one in a folder
// that takes no new files, or one where a new file does not fit (a full disk) is
// rewritten in place instead. Bytes past the record in a longer file are kept.
// Failures show their message; nothing is thrown.
void saveRecord(const PracticeRecord& record, QWidget* parent = nullptr);
