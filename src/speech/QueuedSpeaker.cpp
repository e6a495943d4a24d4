// The speech module: Qt's text to speech through speech-dispatcher, the server a screen
// reader uses, so the learner's own voice and rate apply. The server is spoken to from
// a thread of the module's own: the program's thread only queues the text.
#include "SpeechEngine.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QMutex>
#include <QTextToSpeech>
#include <QThread>
#include <QTimer>
#include <atomic>

namespace {

// A server that has not said a word of the last text by then is taken for gone.
constexpr int kAnswerMs = 3000;
// How long the program's end waits for the speech thread.
constexpr unsigned long kLeaveMs = 500;
const QString kServerEngine = QStringLiteral("speechd");

// Lives in the speech thread: the one object that talks to the server.
class Voice : public QObject {
public:
    Voice() {
        answer_.setSingleShot(true);
        answer_.setInterval(kAnswerMs);
        connect(&answer_, &QTimer::timeout, this, &Voice::noAnswer);
    }

    std::atomic<SpeechTrouble> trouble{SpeechTrouble::None};

    void speak(const QString& text, const QString& lang) {
        if (!reach()) return;
        const QLocale wanted(lang);
        if (tts_->locale().language() != wanted.language()) {
            tts_->setLocale(wanted);
            if (tts_->locale().language() != wanted.language()) {
                trouble = SpeechTrouble::NoVoice;
                return;
            }
        }
        tts_->stop();
        tts_->say(text);
        if (!answer_.isActive()) answer_.start();
    }

    void silence() {
        if (tts_) tts_->stop();
    }

private:
    // The server, reached once and again after it was lost.
    bool reach() {
        if (tts_) return true;
        if (!QTextToSpeech::availableEngines().contains(kServerEngine)) {
            trouble = SpeechTrouble::NoServer;
            return false;
        }
        tts_ = new QTextToSpeech(kServerEngine, this);
        if (tts_->state() == QTextToSpeech::Error) {
            trouble = SpeechTrouble::NoServer;
            drop();
            return false;
        }
        connect(tts_, &QTextToSpeech::stateChanged, this, &Voice::answered);
        return true;
    }

    void answered(QTextToSpeech::State state) {
        answer_.stop();
        if (state == QTextToSpeech::Error) {
            trouble = spoke_ ? SpeechTrouble::ServerGone : SpeechTrouble::NoServer;
            drop();
            return;
        }
        spoke_ = true;
        trouble = SpeechTrouble::None;
    }

    void noAnswer() {
        trouble = spoke_ ? SpeechTrouble::ServerGone : SpeechTrouble::NoServer;
        drop(); // the next text reaches for a server afresh
    }

    void drop() {
        if (tts_) tts_->deleteLater();
        tts_ = nullptr;
    }

    QTextToSpeech* tts_ = nullptr;
    QTimer answer_{this};
    bool spoke_ = false;
};

class QueuedSpeaker : public SpeechEngine {
public:
    QueuedSpeaker() : thread_(new QThread) {
        voice_ = new Voice;
        voice_->moveToThread(thread_);
        QObject::connect(thread_, &QThread::finished, voice_, &QObject::deleteLater);
        thread_->start();
        clock_.start();
    }
    // A server that hangs holds its thread in a call: the program does not wait for it
    // to leave, and the thread, left behind, ends with the process.
    ~QueuedSpeaker() override {
        thread_->quit();
        if (thread_->wait(kLeaveMs)) delete thread_;
    }

    void say(const QString& text, const QString& lang) override { queue(text, lang); }
    void stop() override { queue(QString(), QString()); }
    SpeechTrouble trouble() const override {
        const qint64 since = busySince_.load();
        if (since >= 0 && clock_.elapsed() - since > kAnswerMs) return SpeechTrouble::ServerGone;
        return voice_->trouble.load();
    }

private:
    // Only the newest text waits: each one would cut off the one before anyway.
    void queue(const QString& text, const QString& lang) {
        bool post = false;
        {
            QMutexLocker lock(&mutex_);
            post = !waiting_;
            waiting_ = true;
            text_ = text;
            lang_ = lang;
        }
        if (post)
            QMetaObject::invokeMethod(
                voice_, [this] { take(); }, Qt::QueuedConnection);
    }

    void take() {
        QString text, lang;
        {
            QMutexLocker lock(&mutex_);
            waiting_ = false;
            text = std::move(text_);
            lang = std::move(lang_);
        }
        busySince_ = clock_.elapsed();
        if (text.isEmpty())
            voice_->silence();
        else
            voice_->speak(text, lang);
        busySince_ = -1;
    }

    QThread* thread_;
    Voice* voice_ = nullptr;
    QElapsedTimer clock_;
    std::atomic<qint64> busySince_{-1}; // when the call to the server now going began
    QMutex mutex_;
    bool waiting_ = false;
    QString text_, lang_;
};

} // namespace

extern "C" Q_DECL_EXPORT SpeechEngine* velotapper_make_speech_engine() {
    return new QueuedSpeaker;
}
