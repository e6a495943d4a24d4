#include "PaceRunner.h"

#include "Platform.h"
#include "TMemo.h"

#include <QLabel>
#include <QTimer>
#include <cmath>

PaceRunner::PaceRunner(TMemo* memo, QLabel* place)
    : memo_(memo), place_(place), timer_(new QTimer(memo)) {
    timer_->setObjectName(QStringLiteral("PaceTimer"));
    timer_->setInterval(kTickMs);
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { tick(); });
}

PaceRunner::~PaceRunner() {
    delete timer_.data();
}

QString PaceRunner::leadText(qint64 leadMs) {
    // Tenths of a second, rounded toward zero, so a lead shows only once it is there.
    const qint64 tenths = leadMs / 100;
    const QChar sign = tenths > 0 ? u'+' : tenths < 0 ? u'\u2212' : u'\u00B1';
    const qint64 a = std::abs(tenths);
    return tr("ペース %1%2.%3秒").arg(sign).arg(a / 10).arg(a % 10);
}

void PaceRunner::begin(const QString& mode, const QString& source, QByteArrayView text,
                       std::function<int()> learner, std::function<int(int)> paneMark) {
    end(false);
    verdict_.clear();
    ghost_ = ghostFor ? ghostFor(mode, source, text) : std::nullopt;
    if (!ghost_) return;
    learner_ = std::move(learner);
    paneMark_ = std::move(paneMark);
    startMs_ = Platform::get().clockMs();
    ticks_ = 0;
    if (!figure_ && place_) {
        figure_ = new QLabel(place_->parentWidget());
        figure_->setObjectName(QStringLiteral("lbPace"));
        figure_->setGeometry(place_->geometry());
        figure_->setFont(place_->font());
        figure_->setAlignment(place_->alignment());
        figure_->setPalette(place_->palette());
    }
    if (figure_) {
        figure_->setText(leadText(0));
        place_->hide();
        figure_->show();
    }
    memo_->setPaceMark(paneMark_(0));
    timer_->start();
}

void PaceRunner::tick() {
    if (!ghost_) return;
    const qint64 ms = Platform::get().clockMs() - startMs_;
    memo_->setPaceMark(paneMark_(ghost_->positionAt(ms)));
    if (figure_ && ++ticks_ % kFigureTicks == 0) {
        const QString t = leadText(ghost_->leadMs(learner_(), ms));
        if (t != figure_->text()) figure_->setText(t);
    }
}

void PaceRunner::end(bool finished) {
    if (!ghost_) return;
    timer_->stop();
    const qint64 ms = Platform::get().clockMs() - startMs_;
    const int reached = learner_();
    if (finished) verdict_ = ghost_->positionAt(ms) < reached ? tr("　ペース○") : tr("　ペース×");
    ghost_.reset();
    memo_->setPaceMark(-1);
    if (figure_) figure_->hide();
    if (place_) place_->show();
}
