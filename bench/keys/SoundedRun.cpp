#include "SoundedRun.h"

#include "RunSounds.h"
#include "TVelotapper.h"

void startSoundedRun(TVelotapper& window) {
    window.setHistory(&window.history());
    for (const QString& key : {kSoundClickSetting, kSoundMissSetting, kSoundEndSetting})
        window.history().setSetting(key, QStringLiteral("1"));
    window.history().setSetting(kMetronomeSetting, QStringLiteral("240"));
    window.exercise().startMadeText(QByteArray(64, '~'), QStringLiteral("text"),
                                    QStringLiteral("bench"));
}
