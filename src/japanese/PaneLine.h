#pragma once
#include <QString>
#include <functional>

// What the text pane shows of a phrase: its reading, a full-width space and the keys
// still to type, the caret before the keys.
struct PaneLine {
    QString text;
    int caret = 0;
};

// The pane's line when fits says whether a text fits the pane: the whole reading when
// everything fits, else the reading from the character being typed on, else as much of
// that as leaves room for the next keys. The next key always shows, and the keys run on
// to the pane's right edge.
PaneLine paneLine(const QString& reading, const QString& remainingReading, const QString& keys,
                  const std::function<bool(const QString&)>& fits);
