#pragma once
#include "PaceGhost.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class QLabel;
class TMemo;

// Runs the pace beside a run: moves its mark in the text pane a few times a second while
// the run goes, shows how far ahead or behind the learner is in the place of a label the
// run does not need, and at the end tells whether the learner beat it. It only reads the
// run: keys are judged exactly as without it.
class PaceRunner {
    Q_DECLARE_TR_FUNCTIONS(PaceRunner)
public:
    static constexpr int kTickMs = 66;     // the mark's steps: about 15 a second
    static constexpr int kFigureTicks = 4; // the figure's: about 4 a second

    // The figure stands where `place` is, which it hides while the run goes.
    PaceRunner(TMemo* memo, QLabel* place);
    ~PaceRunner();

    // The pace for a run of mode on source over text (empty for Japanese phrases); none
    // when the pace is off. Unset, the pace is off.
    std::function<std::optional<PaceGhost>(const QString& mode, const QString& source,
                                           QByteArrayView text)>
        ghostFor;

    // A run began now. learner tells its position in the ghost's terms; paneMark where a
    // ghost position stands in the pane (-1: nowhere).
    void begin(const QString& mode, const QString& source, QByteArrayView text,
               std::function<int()> learner, std::function<int(int)> paneMark);
    // The run ended (finished: typed to its end); the mark and the figure go.
    void end(bool finished);
    // Moves the mark and, every few ticks, the figure, for the clock's time now.
    void tick();

    bool running() const { return ghost_.has_value(); }
    const PaceGhost* ghost() const { return ghost_ ? &*ghost_ : nullptr; }
    QTimer* timer() const { return timer_; }
    QLabel* figure() const { return figure_; }
    // The end prompt's words on the last run that ended: empty without a pace or when it
    // was broken off.
    const QString& verdict() const { return verdict_; }
    // The figure's text for a lead in ms.
    static QString leadText(qint64 leadMs);

private:
    TMemo* memo_;
    QLabel* place_;
    QLabel* figure_ = nullptr; // made at the first run that has a pace
    QPointer<QTimer> timer_;   // the pane owns it, so it goes with the pane
    std::optional<PaceGhost> ghost_;
    std::function<int()> learner_;
    std::function<int(int)> paneMark_;
    qint64 startMs_ = 0;
    int ticks_ = 0;
    QString verdict_;
};
