#include "FakeHistory.h"
#include "SoundOutput.h"
#include "SpeechOutput.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr int kKeyF = 41; // X keycodes: the awaited key and a wrong one
constexpr int kKeyJ = 44;

// What parec hears on the null sink's monitor: the times of its loud samples, each a
// block's arrival less the samples after it in the block.
class Listener {
public:
    explicit Listener(const QString& server) {
        int fds[2];
        if (pipe(fds) != 0) return;
        const QByteArray s = "--server=" + server.toUtf8();
        if ((pid_ = fork()) == 0) {
            dup2(fds[1], 1);
            execlp("parec", "parec", s.constData(), "-d", "heard.monitor", "--raw",
                   "--format=s16le", "--rate=48000", "--channels=1", "--latency-msec=2",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        reader_ = std::thread([this, fd = fds[0]] {
            qint16 buf[512];
            for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) {
                const auto now = Clock::now();
                std::lock_guard lock(m_);
                for (ssize_t i = 0; i < n / 2; ++i)
                    if (std::abs(buf[i]) > 400)
                        loud_.push_back(now - std::chrono::microseconds((n / 2 - i) * 1000 / 48));
                heard_ = now;
            }
            close(fd);
        });
    }
    ~Listener() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        reader_.join();
    }
    // The first loud sample from t on, if any was heard.
    std::optional<Clock::time_point> loudAfter(Clock::time_point t) {
        std::lock_guard lock(m_);
        const auto it = std::lower_bound(loud_.begin(), loud_.end(), t);
        return it == loud_.end() ? std::nullopt : std::optional(*it);
    }
    // Whether what has been heard reaches past t, and whether its last `quiet` was quiet.
    bool heardPast(Clock::time_point t, Clock::duration quiet = {}) {
        std::lock_guard lock(m_);
        return heard_ > t && (loud_.empty() || loud_.back() < heard_ - quiet);
    }

private:
    pid_t pid_ = -1;
    std::thread reader_;
    std::mutex m_;
    std::vector<Clock::time_point> loud_;
    Clock::time_point heard_;
};

// The scripted platform with real sounds, from the module of this build.
class AudioPlatform : public FakePlatform {
public:
    void prepareSounds(int volume) override { out.prepare(volume); }
    void playSound(Sound s) override { out.play(s); }
    void releaseSounds() override { out.release(); }
    void say(const QString& text, const QString& lang) override { voice.say(text, lang); }
    void stopSpeech() override { voice.stop(); }
    QString speechProblem() override { return voice.problem(); }
    SoundOutput out{{QStringLiteral(VELOTAPPER_SOUND_MODULE_DIR)}};
    SpeechOutput voice{{QStringLiteral(VELOTAPPER_SOUND_MODULE_DIR)}};
};

// The time the window had each key.
class KeySeen : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) at = Clock::now();
        return false;
    }
    Clock::time_point at;
};

} // namespace

// A lesson typed on the real display, its sounds played through a sound server of the
// test's own, whose null sink's monitor is listened to.
class TestAudio : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void missHeardAtOnce();
    void silentWhenOff();
    void speechHeardAfterStart();

private:
    Clock::time_point press(int xkey);
    // Whether the `span` after t was quiet, once it has been heard.
    bool quietAfter(Clock::time_point t, Clock::duration span);
    void startLesson(bool missSound);
    QTemporaryDir runtime_;
    QProcess server_;
    std::unique_ptr<TestEnv> env_;
    AudioPlatform platform_;
    FakeHistory history_;
    KeySeen keys_;
    std::unique_ptr<TVelotapper> w_;
    std::unique_ptr<Listener> ear_;
};

void TestAudio::initTestCase() {
    for (const char* tool : {"pulseaudio", "parec"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/deps.sh --test "
                                            "installs pulseaudio and pulseaudio-utils)")
                                 .arg(QString::fromLatin1(tool))));
    const QString socket = runtime_.filePath(QStringLiteral("native"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH"})
        env.insert(QString::fromLatin1(name), runtime_.path());
    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start(QStringLiteral("pulseaudio"),
                  {"--daemonize=no", "-n", "--use-pid-file=no", "--exit-idle-time=-1",
                   "--log-level=error", "--load=module-null-sink sink_name=heard rate=48000",
                   "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    QVERIFY(server_.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket), 10000);
    qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());
    ear_ = std::make_unique<Listener>("unix:" + socket);

    env_ = std::make_unique<TestEnv>();
    Platform::install(&platform_);
    env_->writeFile(QStringLiteral("Lesson1.txt"), QByteArray(200, 'f'));
    w_ = std::make_unique<TVelotapper>();
    w_->setHistory(&history_);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get(), 20000));
    w_->activateWindow();
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::focusWindow(), w_->windowHandle(), 20000);
    qApp->installEventFilter(&keys_);
}

void TestAudio::cleanupTestCase() {
    w_.reset();
    env_.reset();
    ear_.reset();
    server_.terminate();
    server_.waitForFinished();
}

void TestAudio::startLesson(bool missSound) {
    w_->btnStopClick();
    history_.settings[kSoundMissSetting] = missSound ? "1" : "0";
    history_.settings[kSoundVolumeSetting] = "100";
    w_->btnExerciseClick();
    QVERIFY(w_->exercise().practiceRunning());
}

Clock::time_point TestAudio::press(int xkey) {
    const auto sent = Clock::now();
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::number(xkey)});
    [&] { QTRY_VERIFY_WITH_TIMEOUT(keys_.at > sent, 5000); }();
    return keys_.at;
}

bool TestAudio::quietAfter(Clock::time_point t, Clock::duration span) {
    [&] { QTRY_VERIFY_WITH_TIMEOUT(ear_->heardPast(t + span), 5000); }();
    const auto loud = ear_->loudAfter(t);
    return !loud || *loud > t + span;
}

void TestAudio::missHeardAtOnce() {
    startLesson(true);
    std::vector<double> ms;
    for (int i = 0; i < 40; ++i) {
        // With only the miss sound on, a right key is not heard.
        if (i % 4 == 0) QVERIFY2(quietAfter(press(kKeyF), milliseconds(150)), "a right key");
        const auto t = press(kKeyJ);
        QTRY_VERIFY_WITH_TIMEOUT(ear_->loudAfter(t).has_value(), 5000);
        ms.push_back(std::chrono::duration<double, std::milli>(*ear_->loudAfter(t) - t).count());
        // Until the sound is over, so that the next one is heard on its own.
        QTRY_VERIFY_WITH_TIMEOUT(ear_->heardPast(t, milliseconds(50)), 5000);
    }
    std::sort(ms.begin(), ms.end());
    const double p95 = ms[ms.size() * 95 / 100];
    qInfo("miss sound, key to the sound server: median %.1f ms, p95 %.1f ms, max %.1f ms",
          ms[ms.size() / 2], p95, ms.back());
    QVERIFY2(p95 <= 30, qPrintable(QString::number(p95)));
}

void TestAudio::silentWhenOff() {
    startLesson(false);
    for (int i = 0; i < 5; ++i)
        QVERIFY2(quietAfter(press(i % 2 ? kKeyF : kKeyJ), milliseconds(200)), "a sound");
}

// A speech server of the test's own, speaking with espeak-ng into the null sink: the
// lesson's start is heard; once the server is gone the run goes on and the platform
// says why nothing is heard.
void TestAudio::speechHeardAfterStart() {
    for (const char* tool : {"speech-dispatcher", "espeak-ng"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/deps.sh --test)")
                                 .arg(QString::fromLatin1(tool))));
    const QDir conf(runtime_.filePath(QStringLiteral("speechd")));
    QVERIFY(conf.mkpath(QStringLiteral("modules")));
    QFile settings(conf.filePath(QStringLiteral("speechd.conf")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("AudioOutputMethod \"pulse\"\n"
                   "AddModule \"espeak-ng\" \"sd_espeak-ng\" \"espeak-ng.conf\"\n"
                   "DefaultModule espeak-ng\nDefaultVolume 100\n");
    settings.close();
    QFile(conf.filePath(QStringLiteral("modules/espeak-ng.conf"))).open(QIODevice::WriteOnly);
    const QString socket = runtime_.filePath(QStringLiteral("speechd.sock"));
    QProcess speechd;
    speechd.setStandardOutputFile(conf.filePath(QStringLiteral("out.log")));
    speechd.setStandardErrorFile(conf.filePath(QStringLiteral("err.log")));
    speechd.start(QStringLiteral("speech-dispatcher"),
                  {"-s", "-t", "0", "-C", conf.path(), "-S", socket, "-c", "unix_socket", "-P",
                   runtime_.filePath(QStringLiteral("speechd.pid")), "-L", conf.path()});
    QVERIFY(speechd.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket), 10000);
    qputenv("SPEECHD_ADDRESS", "unix_socket:" + socket.toUtf8());

    history_.settings[kSpeechOnSetting] = "1";
    const auto before = Clock::now();
    QVERIFY(quietAfter(before, milliseconds(300)));
    startLesson(false);
    QTRY_VERIFY_WITH_TIMEOUT(ear_->loudAfter(before).has_value(), 15000);
    QCOMPARE(platform_.speechProblem(), QString());

    speechd.kill();
    speechd.waitForFinished();
    const int typed = w_->exercise().cursorPos;
    for (int i = 0; i < 3; ++i) press(kKeyF);
    QCOMPARE(w_->exercise().cursorPos, typed + 3);
    QTRY_VERIFY_WITH_TIMEOUT(!platform_.speechProblem().isEmpty(), 10000);
    w_->btnStopClick();
    history_.settings[kSpeechOnSetting] = "0";
}

QTEST_MAIN(TestAudio)
#include "tst_audio.moc"
