#include "Fonts.h"
#include "Language.h"
#include "Platform.h"
#include "QtPlatform.h"
#include "TAboutBox.h"
#include "TPagesDlg.h"
#include "TVelotapper.h"

#include <QApplication>
#include <QIcon>
#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velotapper"));
    // Ties the windows to the menu entry (Wayland app id, task-bar icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.velotapper.velotapper"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velotapper")));
    installTranslators(chooseLanguage(), programTranslationDirs());
    registerFontSubstitutions();
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
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        platform.messageBox(nullptr, QString::fromLocal8Bit(e.what()));
        return 0;
    }
}
