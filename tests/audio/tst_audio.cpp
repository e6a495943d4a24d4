#include "FakeHistory.h"
#include "SoundOutput.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 48000;
constexpr int kLoud = 400; // a sample above this is heard
constexpr int kKeyF = 41;  // X keycodes: the awaited key and a wrong one
constexpr int kKeyJ = 44;
constexpr qint64 kWithinUs = 30000;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// What parec hears on the null sink's monitor, each block stamped as it arrives, so a
// sample's time is its block's arrival less the samples after it.
class Listener {
public:
    bool start(const QString& server) {
        int fds[2];
        if (pipe(fds) != 0) return false;
        const QByteArray s = "--server=" + server.toUtf8();
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], 1);
            close(fds[0]);
            execlp("parec", "parec", s.constData(), "-d", "heard.monitor", "--raw",
                   "--format=s16le", "--rate=48000", "--channels=1", "--latency-msec=2",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        fd_ = fds[0];
        reader_ = std::thread([this] { read(); });
        return pid_ > 0;
    }
    ~Listener() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (reader_.joinable()) reader_.join();
        if (fd_ >= 0) close(fd_);
    }
    // The time of the first loud sample after t, if heard by now.
    std::optional<Clock::time_point> loudAfter(Clock::time_point t) {
        std::lock_guard lock(m_);
        for (std::size_t b = 0; b < blocks_.size(); ++b) {
            if (blocks_[b].second < t) continue;
            const std::size_t from = b == 0 ? 0 : blocks_[b - 1].first;
            for (std::size_t i = from; i < blocks_[b].first; ++i)
                if (std::abs(samples_[i]) > kLoud)
                    return blocks_[b].second -
                           std::chrono::microseconds((blocks_[b].first - i) * 1000000 / kRate);
        }
        return std::nullopt;
    }
    // Whether all heard from t on is quiet; nullopt until `span` after t has arrived.
    std::optional<bool> quietFor(Clock::time_point t, Clock::duration span) {
        {
            std::lock_guard lock(m_);
            if (blocks_.empty() || blocks_.back().second < t + span) return std::nullopt;
        }
        const auto loud = loudAfter(t);
        return !loud || *loud > t + span;
    }

    // Whether the last `span` heard was quiet.
    bool quietTail(Clock::duration span) {
        std::lock_guard lock(m_);
        const auto n = std::size_t(
            std::chrono::duration_cast<std::chrono::microseconds>(span).count() * kRate / 1000000);
        if (samples_.size() < n) return false;
        return std::none_of(samples_.end() - std::ptrdiff_t(n), samples_.end(),
                            [](qint16 s) { return std::abs(s) > kLoud; });
    }

private:
    void read() {
        qint16 buf[512];
        for (;;) {
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n <= 0) return;
            const auto now = Clock::now();
            std::lock_guard lock(m_);
            samples_.insert(samples_.end(), buf, buf + n / 2);
            blocks_.emplace_back(samples_.size(), now);
        }
    }
    pid_t pid_ = -1;
    int fd_ = -1;
    std::thread reader_;
    std::mutex m_;
    std::vector<qint16> samples_;
    std::vector<std::pair<std::size_t, Clock::time_point>> blocks_; // end, arrival
};

// The scripted platform with real sounds, from the module of this build.
class AudioPlatform : public FakePlatform {
public:
    void prepareSounds(int volume) override { out.prepare(volume); }
    void playSound(Sound s) override {
        played.push_back({s, Clock::now()});
        out.play(s);
    }
    void releaseSounds() override { out.release(); }
    SoundOutput out{{QStringLiteral(VELOTAPPER_SOUND_MODULE_DIR)}};
    std::vector<std::pair<Sound, Clock::time_point>> played;
};

} // namespace

// A lesson typed on the real display with sounds through a sound server of the test's
// own, whose null sink's monitor is listened to.
class TestAudio : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void missHeardAtOnce();
    void silentWhenOff();

private:
    Clock::time_point press(int xkey);
    void startLesson(bool missSound);
    QTemporaryDir runtime_;
    QProcess server_;
    std::unique_ptr<TestEnv> env_;
    AudioPlatform platform_;
    FakeHistory history_;
    std::unique_ptr<TVelotapper> w_;
    std::unique_ptr<Listener> ear_;
    std::atomic<Clock::time_point::rep> keyAt_{0};
};

class KeySeen : public QObject {
public:
    explicit KeySeen(std::atomic<Clock::time_point::rep>& at) : at_(at) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) at_ = Clock::now().time_since_epoch().count();
        return false;
    }
    std::atomic<Clock::time_point::rep>& at_;
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
    const QString server = QStringLiteral("unix:") + socket;
    qputenv("PULSE_SERVER", server.toUtf8());
    ear_ = std::make_unique<Listener>();
    QVERIFY(ear_->start(server));

    env_ = std::make_unique<TestEnv>();
    Platform::install(&platform_);
    env_->writeFile(QStringLiteral("Lesson1.txt"), QByteArray(200, 'f'));
    w_ = std::make_unique<TVelotapper>();
    w_->setHistory(&history_);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get(), 20000));
    w_->activateWindow();
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::focusWindow(), w_->windowHandle(), 20000);
    qApp->installEventFilter(new KeySeen(keyAt_));
}

void TestAudio::cleanupTestCase() {
    if (w_) w_->btnStopClick();
    w_.reset();
    env_.reset();
    Platform::install(nullptr);
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

// Types the key and answers when the window had it.
Clock::time_point TestAudio::press(int xkey) {
    keyAt_ = 0;
    const auto sent = Clock::now();
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::number(xkey)});
    [&] { QTRY_VERIFY_WITH_TIMEOUT(keyAt_ != 0, 5000); }();
    return keyAt_ != 0 ? Clock::time_point(Clock::duration(keyAt_.load())) : sent;
}

void TestAudio::missHeardAtOnce() {
    startLesson(true);
    std::vector<double> latencies, programMs;
    for (int i = 0; i < 40; ++i) {
        // A right key makes no sound with only the miss sound on.
        if (i % 4 == 0) {
            const auto t = press(kKeyF);
            QTRY_VERIFY_WITH_TIMEOUT(ear_->quietFor(t, std::chrono::milliseconds(150)).has_value(),
                                     5000);
            QVERIFY2(*ear_->quietFor(t, std::chrono::milliseconds(150)), "a right key was heard");
        }
        const std::size_t before = platform_.played.size();
        const auto t = press(kKeyJ);
        QTRY_VERIFY_WITH_TIMEOUT(ear_->loudAfter(t).has_value(), 5000);
        latencies.push_back(ms(*ear_->loudAfter(t) - t));
        QCOMPARE(platform_.played.size(), before + 1);
        programMs.push_back(ms(platform_.played.back().second - t));
        // Until the sound is over, so the next one is heard on its own.
        QTRY_VERIFY_WITH_TIMEOUT(ear_->quietTail(std::chrono::milliseconds(50)), 5000);
    }
    std::sort(latencies.begin(), latencies.end());
    std::sort(programMs.begin(), programMs.end());
    const double p95 = latencies[latencies.size() * 95 / 100];
    qInfo("miss sound, key to the sound server: median %.1f ms, p95 %.1f ms, max %.1f ms "
          "(key to the program's play call: median %.3f ms)",
          latencies[latencies.size() / 2], p95, latencies.back(), programMs[programMs.size() / 2]);
    QVERIFY2(p95 * 1000 <= kWithinUs, qPrintable(QString::number(p95)));
}

void TestAudio::silentWhenOff() {
    startLesson(false);
    for (int i = 0; i < 5; ++i) {
        const auto t = press(i % 2 ? kKeyF : kKeyJ);
        QTRY_VERIFY_WITH_TIMEOUT(ear_->quietFor(t, std::chrono::milliseconds(200)).has_value(),
                                 5000);
        QVERIFY2(*ear_->quietFor(t, std::chrono::milliseconds(200)), "a sound was heard");
    }
}

QTEST_MAIN(TestAudio)
#include "tst_audio.moc"
