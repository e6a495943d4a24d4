#include "SoundOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef VELOTAPPER_SOUND_LIBDIR
#define VELOTAPPER_SOUND_LIBDIR "../lib/velotapper"
#endif

namespace {
const QString kModuleName = QStringLiteral("velotapper-sound.so");
}

QStringList SoundOutput::defaultFolders() {
    const QString dir = QCoreApplication::applicationDirPath();
    return {dir, QDir::cleanPath(dir + QLatin1Char('/') + QStringLiteral(VELOTAPPER_SOUND_LIBDIR))};
}

SoundOutput::SoundOutput(QStringList folders) : folders_(std::move(folders)) {}

// The player goes before its code does.
SoundOutput::~SoundOutput() {
    player_.reset();
}

void SoundOutput::prepare(int volume) {
    if (!tried_) {
        tried_ = true;
        if (folders_.isEmpty()) folders_ = defaultFolders();
        for (const QString& folder : folders_) {
            const QString path = QDir(folder).filePath(kModuleName);
            if (!QFileInfo::exists(path)) continue;
            library_.setFileName(path);
            if (!library_.load()) continue;
            if (auto make = reinterpret_cast<MakeSoundPlayer*>(library_.resolve(kMakeSoundPlayer)))
                player_.reset(make());
            break;
        }
    }
    if (player_) player_->setVolume(volume);
}

void SoundOutput::play(Sound sound) {
    if (player_) player_->play(sound);
}

void SoundOutput::release() {
    if (player_) player_->release();
}
