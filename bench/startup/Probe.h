#pragma once
#include <QObject>

class QWidget;

// Watches a top-level window for its first paint, then prints the monotonic time of
// that moment and the resident memory, and ends the event loop.
class Probe : public QObject {
public:
    explicit Probe(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void report();
    bool painted_ = false;
};

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process of the machine.
qint64 monotonicNs();
// VmRSS of this process in kilobytes, or -1.
qint64 residentKb();
