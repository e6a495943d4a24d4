#include "SoundDlg.h"

#include "DesignTable.h"
#include "HistoryTypes.h"
#include "RunSounds.h"
#include "TPagesDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
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

SoundDlg::SoundDlg(QWidget* parent) : SettledHide(parent) {
    setUpFixedDialog(this, "SoundDlg", tr("音の設定"), QSize(353, 226));
    settings = named(new QWidget(this), "settings", {0, 0, 353, 190});
    auto* sounds = named(new QGroupBox(tr("効果音"), settings), "gbSounds", {8, 4, 170, 104});
    cbClickSound = named(new QCheckBox(tr("正しいキーの音"), sounds), "cbClickSound",
                         {12, 24, 150, 17}, tr("正しいキーを押すたびに音を鳴らします"));
    cbMissSound = named(new QCheckBox(tr("ミスの音"), sounds), "cbMissSound", {12, 50, 150, 17},
                        tr("間違えたキーを押すたびに音を鳴らします"));
    cbEndSound = named(new QCheckBox(tr("終了の音"), sounds), "cbEndSound", {12, 76, 150, 17},
                       tr("練習の終わりに音を鳴らします"));

    auto* volume = named(new QGroupBox(tr("音量"), settings), "gbVolume", {186, 4, 159, 104});
    slVolume = named(new QSlider(Qt::Horizontal, volume), "slVolume", {12, 34, 135, 22},
                     tr("効果音とメトロノームの音量"));
    slVolume->setRange(0, 100);
    slVolume->setPageStep(10);
    lbVolume = named(new QLabel(volume), "lbVolume", {12, 64, 135, 17});
    lbVolume->setAlignment(Qt::AlignCenter);
    connect(slVolume, &QSlider::valueChanged, this, &SoundDlg::showVolume);

    auto* beat =
        named(new QGroupBox(tr("メトロノーム"), settings), "gbMetronome", {8, 114, 337, 72});
    cbMetronome = named(new QCheckBox(tr("鳴らす"), beat), "cbMetronome", {12, 30, 80, 17},
                        tr("練習中にメトロノームを鳴らします"));
    spMetronome =
        named(new BeatBox(beat), "spMetronome", {100, 26, 110, 24}, tr("1分あたりの拍の数"));
    spMetronome->setRange(SoundChoice::kSlowestBeat, SoundChoice::kFastestBeat);
    spMetronome->setSuffix(tr(" 拍/分"));
    named(new QLabel(tr("練習中だけ鳴ります"), beat), "lbMetronome", {218, 30, 115, 17});
    connect(cbMetronome, &QCheckBox::toggled, spMetronome, &QWidget::setEnabled);

    OKBtn = named(new QPushButton(QStringLiteral("OK"), this), "OKBtn", {270, 193, 75, 25});
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        keep();
        accept();
    });
    fill();
}

void SoundDlg::setHistory(HistoryReader* history) {
    history_ = history;
    fill();
}

void SoundDlg::showVolume() {
    lbVolume->setText(QStringLiteral("%1 %").arg(slVolume->value()));
}

void SoundDlg::fill() {
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
    settings->setEnabled(history_ != nullptr && locked.isEmpty());
    settings->setToolTip(locked);
    spMetronome->setEnabled(cbMetronome->isChecked());
}

void SoundDlg::keep() {
    if (!history_ || !settings->isEnabled()) return;
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

void SoundDlg::showEvent(QShowEvent* e) {
    // A window system's own show (after a restore) is no new opening.
    if (!e->spontaneous()) {
        centreOnScreen(this);
        fill();
    }
    QDialog::showEvent(e);
}
