#pragma once
#include "HistoryTypes.h"

#include <QColor>
#include <QWidget>

class QLabel;

// The progress chart: speed per run, or per day, week or month and mode when the
// history is long, one line per mode with a one-line legend, the miss rate as a
// dashed line on its own axis at the right, and the rhythm (0 at the bottom of the plot,
// 100 at its top) as a dotted line named in the legend. Hovering over a speed point announces that
// point's details.
class ProgressChart : public QWidget {
    Q_OBJECT
public:
    explicit ProgressChart(QWidget* parent = nullptr);

    // How the points of a long history are grouped.
    enum class Span { Run, Day, Week, Month };
    Q_ENUM(Span)

    void showRuns(const QList<HistoryRun>& runs);
    // By day; by week once the days reach past kWeeksFrom days, by month past kMonthsFrom.
    void showDays(const QList<HistoryDay>& days);
    Span span() const { return span_; }
    static constexpr int kWeeksFrom = 60;
    static constexpr int kMonthsFrom = 366;
    // The font and width the hover details are shown in: a long file name is shortened
    // to keep the speed and misses in view.
    void setDetailSpace(const QFont& font, int width);
    int pointCount() const { return int(points_.size()); }
    // Where speed point i is drawn.
    QPoint pointPos(int i) const;
    // The details of the speed point nearest to pos within reach, or empty.
    QString detailsAt(const QPoint& pos) const;
    // The modes that have points, in legend order, by their captions.
    QStringList legend() const;

    static QString modeCaption(const QString& mode);
    // The chart in words for a screen reader: the last speed and whether the latest
    // points rise or fall; empty without points.
    QString summary() const;

    // Why there are no points, shown wrapped in the chart's place; empty: no runs yet.
    void setNotice(const QString& why);
    // The words shown while there are no points.
    QLabel* notice() const { return notice_; }

signals:
    // The details of the point under the mouse; empty when it leaves every point.
    void hovered(const QString& details);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    struct Point {
        double x = 0;
        double speed = 0;
        int series = 0;
        QString details; // around the source, which stands at sourceAt
        QString source;
        qsizetype sourceAt = 0;
    };
    struct MissPoint {
        double x = 0;
        double rate = 0; // the miss rate 0..1, or the rhythm 0..100
    };
    struct LegendItem {
        QRect rect;
        QString caption;
        QColor colour;
    };

    void setPoints(QList<Point> points, QList<MissPoint> misses, QList<MissPoint> rhythm,
                   QStringList xLabels);
    void relayout();
    void fitNotice();
    int pointAt(const QPoint& pos) const;
    QString detailsOf(int i) const;
    QPointF at(double x, double value, double top) const;

    QList<Point> points_;
    QList<MissPoint> misses_;
    QList<MissPoint> rhythm_;
    QStringList xLabels_; // first and last point
    Span span_ = Span::Run;
    QFont detailFont_;
    int detailWidth_ = 0;
    QFont legendFont_;
    double xMax_ = 0;
    double speedTop_ = 1, speedStep_ = 0.25;
    double missTop_ = 10, missStep_ = 2.5; // percent
    QList<LegendItem> legend_;
    int unitTop_ = 0;
    QRect plot_;
    int hover_ = -1;
    QLabel* notice_;
    QString why_;
};
