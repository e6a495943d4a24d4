#pragma once
#include "PaceGhost.h"

#include <QByteArrayView>
#include <QWidget>
#include <optional>

class HistoryReader;
class QComboBox;
class QSpinBox;

// The pace a run races, on the settings page: off, a target speed, the best or the last
// run on the same text; kept in the history's settings.
class PaceChoice : public QWidget {
    Q_OBJECT
public:
    explicit PaceChoice(QWidget* parent);

    // Shows what the history keeps; without a history (or one that takes no writes,
    // whose reason `locked` names) the choice is off and cannot change.
    void fill(HistoryReader* history, const QString& locked);
    // Writes what changed.
    void save(HistoryReader* history) const;

    QComboBox* mode;
    QSpinBox* target;
};

// The pace for a run of mode on source over text as the history's settings choose it;
// none when the pace is off or there is no history.
std::optional<PaceGhost> paceGhostOf(HistoryReader* history, const QString& mode,
                                     const QString& source, QByteArrayView text);
