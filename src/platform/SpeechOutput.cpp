#include "SpeechOutput.h"

#include "SoundOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kModuleName = QStringLiteral("velotapper-speech.so");
}

SpeechOutput::SpeechOutput(QStringList folders) : folders_(std::move(folders)) {}

// The engine goes before its code does.
SpeechOutput::~SpeechOutput() {
    engine_.reset();
}

void SpeechOutput::load() {
    if (tried_) return;
    tried_ = true;
    if (folders_.isEmpty()) folders_ = SoundOutput::defaultFolders();
    for (const QString& folder : folders_) {
        const QString path = QDir(folder).filePath(kModuleName);
        if (!QFileInfo::exists(path)) continue;
        library_.setFileName(path);
        if (!library_.load()) continue;
        if (auto make = reinterpret_cast<MakeSpeechEngine*>(library_.resolve(kMakeSpeechEngine)))
            engine_.reset(make());
        break;
    }
}

void SpeechOutput::say(const QString& text, const QString& lang) {
    load();
    if (engine_) engine_->say(text, lang);
}

void SpeechOutput::stop() {
    if (engine_) engine_->stop();
}

QString SpeechOutput::problem() const {
    if (!tried_) return {};
    switch (engine_ ? engine_->trouble() : SpeechTrouble::NoModule) {
    case SpeechTrouble::None:
        return {};
    case SpeechTrouble::NoModule:
        return QCoreApplication::translate("SpeechOutput", "音声の部品が見つかりません");
    case SpeechTrouble::NoServer:
        return QCoreApplication::translate("SpeechOutput",
                                           "音声サーバー(speech-dispatcher)に接続できません");
    case SpeechTrouble::NoVoice:
        return QCoreApplication::translate("SpeechOutput", "この言語の声がありません");
    case SpeechTrouble::ServerGone:
        return QCoreApplication::translate("SpeechOutput", "音声サーバーが応答しなくなりました");
    }
    return {};
}
