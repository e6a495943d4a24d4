#include "SoundPage.h"

#include "HistoryTypes.h"
#include "RunSounds.h"
#include "TPagesDlg.h"

#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

namespace {

// A number box that takes no part in an input method, which would only turn the digits
// into full-width ones awaiting conversion.
class BeatBox : public QSpinBox {
public:
    explicit BeatBox(QWidget* parent) : QSpinBox(parent) {
        lineEdit()->setFocusPolicy(Qt::NoFocus);
    }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        return query == Qt::ImEnabled ? QVariant(false) : QSpinBox::inputMethodQuery(query);
    }
};

template <class W> W* named(W* w, const char* name, const QRect& at, const QString& hint = {}) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(at);
    if (!hint.isEmpty()) setDesignHint(w, hint, true);
    return w;
}

QString onOff(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

SoundPage::SoundPage(QDialog* dialog) {
    auto* sounds = named(new QGroupBox(tr("効果音"), this), "gbSounds", {8, 4, 170, 104});
    cbClickSound = named(new QCheckBox(tr("正しいキーの音"), sounds), "cbClickSound",
                         {12, 24, 150, 17}, tr("正しいキーを押すたびに音を鳴らします"));
    cbMissSound = named(new QCheckBox(tr("ミスの音"), sounds), "cbMissSound", {12, 50, 150, 17},
                        tr("間違えたキーを押すたびに音を鳴らします"));
    cbEndSound = named(new QCheckBox(tr("終了の音"), sounds), "cbEndSound", {12, 76, 150, 17},
                       tr("練習の終わりに音を鳴らします"));

    auto* volume = named(new QGroupBox(tr("音量"), this), "gbVolume", {186, 4, 159, 104});
    slVolume = named(new QSlider(Qt::Horizontal, volume), "slVolume", {12, 34, 135, 22},
                     tr("効果音とメトロノームの音量"));
    slVolume->setRange(0, 100);
    slVolume->setPageStep(10);
    lbVolume = named(new QLabel(volume), "lbVolume", {12, 64, 135, 17});
    lbVolume->setAlignment(Qt::AlignCenter);
    connect(slVolume, &QSlider::valueChanged, this, &SoundPage::showVolume);

    auto* beat = named(new QGroupBox(tr("メトロノーム"), this), "gbMetronome", {8, 114, 337, 72});
    cbMetronome = named(new QCheckBox(tr("鳴らす"), beat), "cbMetronome", {12, 30, 80, 17},
                        tr("練習中にメトロノームを鳴らします"));
    spMetronome =
        named(new BeatBox(beat), "spMetronome", {100, 26, 110, 24}, tr("1分あたりの拍の数"));
    spMetronome->setRange(SoundChoice::kSlowestBeat, SoundChoice::kFastestBeat);
    spMetronome->setSuffix(tr(" 拍/分"));
    named(new QLabel(tr("練習中だけ鳴ります"), beat), "lbMetronome", {218, 30, 115, 17});
    connect(cbMetronome, &QCheckBox::toggled, spMetronome, &QWidget::setEnabled);

    dialog->installEventFilter(this);
    connect(dialog, &QDialog::accepted, this, &SoundPage::keep);
    fill();
}

void SoundPage::setHistory(HistoryReader* history) {
    history_ = history;
    fill();
}

void SoundPage::showVolume() {
    lbVolume->setText(QStringLiteral("%1 %").arg(slVolume->value()));
}

void SoundPage::fill() {
    const SoundChoice c =
        history_ ? soundChoice([this](const QString& key) { return history_->setting(key); })
                 : SoundChoice{};
    cbClickSound->setChecked(c.click);
    cbMissSound->setChecked(c.miss);
    cbEndSound->setChecked(c.end);
    slVolume->setValue(c.volume);
    showVolume();
    cbMetronome->setChecked(c.beatsPerMinute != 0);
    // Off, the box offers a walking pace to start from.
    spMetronome->setValue(c.beatsPerMinute != 0 ? c.beatsPerMinute : 120);
    // A history that takes no writes keeps these as they are; the hint says why.
    const QString locked = history_ ? history_->cannotWrite() : QString();
    setEnabled(history_ != nullptr && locked.isEmpty());
    setToolTip(locked);
    spMetronome->setEnabled(cbMetronome->isChecked());
}

void SoundPage::keep() {
    if (!history_ || !isEnabled()) return;
    const SoundChoice kept =
        soundChoice([this](const QString& key) { return history_->setting(key); });
    const int beats = cbMetronome->isChecked() ? spMetronome->value() : 0;
    // Only a change is written: an untouched setting leaves the history alone.
    for (const auto& [key, value, was] :
         {std::tuple{kSoundClickSetting, onOff(cbClickSound->isChecked()), onOff(kept.click)},
          std::tuple{kSoundMissSetting, onOff(cbMissSound->isChecked()), onOff(kept.miss)},
          std::tuple{kSoundEndSetting, onOff(cbEndSound->isChecked()), onOff(kept.end)},
          std::tuple{kSoundVolumeSetting, QString::number(slVolume->value()),
                     QString::number(kept.volume)},
          std::tuple{kMetronomeSetting, QString::number(beats),
                     QString::number(kept.beatsPerMinute)}})
        if (value != was) history_->setSetting(key, value);
}

bool SoundPage::eventFilter(QObject* watched, QEvent* e) {
    // Each opening of the dialog shows what is kept now.
    if (e->type() == QEvent::Show && !e->spontaneous() && watched->isWidgetType()) fill();
    return QWidget::eventFilter(watched, e);
}
