#include "SpeechSection.h"

#include "HistoryTypes.h"
#include "Platform.h"
#include "RunSpeech.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

namespace {
// Long enough for the speech module to learn whether a server answers.
constexpr int kStatusAfterTryMs = 3500;

template <class W> W* named(W* w, const char* name, const QRect& at) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(at);
    return w;
}
} // namespace

SpeechSection::SpeechSection(QWidget* parent) : SettingsSection(tr("音声"), parent) {
    setObjectName(QStringLiteral("gbSpeech"));
    resize(337, 92);
    cbSpeech =
        named(new QCheckBox(tr("練習を読み上げる (F8)"), this), "cbSpeech", {12, 22, 200, 17});
    rbFollowKey = named(new QRadioButton(tr("次のキー"), this), "rbFollowKey", {28, 44, 110, 17});
    rbFollowWord =
        named(new QRadioButton(tr("次の単語"), this), "rbFollowWord", {144, 44, 110, 17});
    lbSpeechStatus = named(new QLabel(this), "lbSpeechStatus", {12, 68, 317, 17});
    rbFollowKey->setToolTip(tr("正しいキーを押すたびに次のキーを読み上げます"));
    rbFollowWord->setToolTip(tr("単語の始めにその単語を読み上げます"));
    connect(cbSpeech, &QCheckBox::toggled, this, [this](bool on) {
        rbFollowKey->setEnabled(on && cbSpeech->isEnabled());
        rbFollowWord->setEnabled(on && cbSpeech->isEnabled());
    });
    // Turned on by hand, a sample is said, so the status can tell whether it was heard.
    connect(cbSpeech, &QCheckBox::clicked, this, [this](bool on) {
        if (!on) return;
        Platform::get().say(tr("この声で読み上げます。"), RunSpeech::language());
        QTimer::singleShot(kStatusAfterTryMs, this, &SpeechSection::showStatus);
    });
}

void SpeechSection::showStatus() {
    lbSpeechStatus->setText(Platform::get().speechProblem());
}

void SpeechSection::fill(HistoryReader* history, const QString& locked) {
    const SpeechChoice c =
        history ? speechChoice([history](const QString& key) { return history->setting(key); })
                : SpeechChoice{};
    const bool open = history && locked.isEmpty();
    cbSpeech->setEnabled(open);
    cbSpeech->setChecked(c.on);
    (c.words ? rbFollowWord : rbFollowKey)->setChecked(true);
    rbFollowKey->setEnabled(open && c.on);
    rbFollowWord->setEnabled(open && c.on);
    setToolTip(locked);
    showStatus();
}

void SpeechSection::save(HistoryReader* history) {
    if (!cbSpeech->isEnabled()) return;
    const SpeechChoice kept =
        speechChoice([history](const QString& key) { return history->setting(key); });
    if (kept.on != cbSpeech->isChecked())
        history->setSetting(kSpeechOnSetting,
                            cbSpeech->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (kept.words != rbFollowWord->isChecked())
        history->setSetting(kSpeechFollowSetting, rbFollowWord->isChecked()
                                                      ? QStringLiteral("word")
                                                      : QStringLiteral("key"));
}
