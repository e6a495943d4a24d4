#include "Language.h"
#include "Platform.h"
#include "QtPlatform.h"
#include "SingleInstance.h"
#include "TAboutBox.h"
#include "TPagesDlg.h"
#include "TVelotapper.h"
#include "ZoomFile.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <functional>
#include <utility>

namespace {

// With VELOTAPPER_STARTUP_PHASES set (bench/startup sets it), the moment each step of
// the start ended, on the monotonic clock, on standard output.
void phase(const char* name) {
    static const bool wanted = qEnvironmentVariableIsSet("VELOTAPPER_STARTUP_PHASES");
    if (!wanted) return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("phase %s %lld\n", name,
                static_cast<long long>(std::chrono::nanoseconds(now).count()));
    std::fflush(stdout);
}

// Runs step once the window's first frame is on the screen (or a second after the
// show, for a window that starts hidden), so that frame waits for nothing it does not
// show.
void afterFirstFrame(QWidget* window, std::function<void()> step) {
    class Watch : public QObject {
    public:
        explicit Watch(std::function<void()> s) : step_(std::move(s)) {}
        void run() {
            if (!step_) return;
            std::exchange(step_, nullptr)();
            deleteLater();
        }

    protected:
        bool eventFilter(QObject* watched, QEvent* e) override {
            // The window's paint begins the one pass that paints its children and puts
            // the frame on the screen; a queued call runs once that pass is over.
            if (e->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, this, &Watch::run);
            }
            return false;
        }

    private:
        std::function<void()> step_;
    };
    auto* watch = new Watch(std::move(step));
    watch->setParent(window);
    window->installEventFilter(watch);
    QTimer::singleShot(1000, watch, &Watch::run);
}

} // namespace

int main(int argc, char** argv) {
    phase("exec");
    // Qt takes its scale factor when the application object is made.
    applyKeptZoom();
    QApplication app(argc, argv);
    // A file-size limit makes a too-large write fail, which the record's save handles,
    // instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName(QStringLiteral("velotapper"));
    // Ties the windows to the menu entry (Wayland app id, task-bar icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.velotapper.velotapper"));
    phase("application");
    // A second start in this folder only brings the running window forward: it reads
    // and writes no file of the folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    SingleInstance single(runtime.isEmpty() ? QDir::tempPath() : runtime, QDir::currentPath());
    if (!single.claim()) return 0;
    phase("single_instance");
    // The program's texts are Japanese: the English ones are needed for the first frame,
    // Qt's own Japanese ones only in its dialogs.
    const UiLanguage language = chooseLanguage();
    if (language == UiLanguage::English) installTranslators(language, programTranslationDirs());
    phase("translators");
    QtPlatform platform;
    Platform::install(&platform);
    try {
        TVelotapper window(nullptr, TVelotapper::Pane::AfterShow);
        phase("window");
        // Mapped while the pane is built: nothing is drawn before the event loop runs,
        // and by then the pane is there.
        window.show();
        window.buildPane();
        phase("pane");
        window.setHistory(&window.history());
        window.setAboutBox([](TVelotapper& w) { return new TAboutBox(&w); });
        window.setPagesDlg([](TVelotapper& w) {
            auto* pages = new TPagesDlg(w.record(), &w);
            pages->setHistory(&w.history());
            pages->weakLessonWanted = [&w](QWidget* parent) { return w.prepareWeakLesson(parent); };
            return pages;
        });
        QObject::connect(&single, &SingleInstance::calledToFront, &window, [&window] {
            window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
            window.show();
            window.raise();
            window.activateWindow();
        });
        afterFirstFrame(&window, [language, &window] {
            phase("frame");
            // The program's own copy of its icon, which needs no search through the icon
            // themes' indexes and is there whatever theme the desktop has or lacks. The
            // application's icon is for the windows made from now on; the main window,
            // made before it, takes it itself.
            QIcon icon;
            for (const int size : {16, 32, 48, 128})
                icon.addFile(QStringLiteral(":/icons/%1/velotapper.png").arg(size),
                             QSize(size, size));
            QApplication::setWindowIcon(icon);
            window.setWindowIcon(icon);
            if (language == UiLanguage::Japanese)
                installTranslators(language, programTranslationDirs());
            window.sayTodaysGoal();
        });
        const int code = app.exec();
        // The exit button gave what waits for a held history its last moment; this is
        // for an end that came another way.
        window.history().finish(HistoryStore::kExitWaitMs);
        return code;
    } catch (const std::exception& e) {
        platform.messageBox(nullptr, QString::fromLocal8Bit(e.what()));
        return 0;
    }
}
