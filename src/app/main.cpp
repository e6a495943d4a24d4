#include "Language.h"
#include "Platform.h"
#include "QtPlatform.h"
#include "SingleInstance.h"
#include "TAboutBox.h"
#include "TPagesDlg.h"
#include "TVelotapper.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <csignal>
#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // A file-size limit makes a too-large write fail, which the record's save handles,
    // instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName(QStringLiteral("velotapper"));
    // Ties the windows to the menu entry (Wayland app id, task-bar icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.velotapper.velotapper"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velotapper")));
    // A second start in this folder only brings the running window forward: it reads
    // and writes no file of the folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    SingleInstance single(runtime.isEmpty() ? QDir::tempPath() : runtime, QDir::currentPath());
    if (!single.claim()) return 0;
    installTranslators(chooseLanguage(), programTranslationDirs());
    QtPlatform platform;
    Platform::install(&platform);
    try {
        TVelotapper window;
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
        window.show();
        const int code = app.exec();
        // Runs kept while another program held the history get a last chance here.
        window.history().finish(3000);
        return code;
    } catch (const std::exception& e) {
        platform.messageBox(nullptr, QString::fromLocal8Bit(e.what()));
        return 0;
    }
}
