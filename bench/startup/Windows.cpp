#include "Windows.h"

#include "Language.h"
#include "Platform.h"
#include "Probe.h"
#include "QtPlatform.h"
#include "TAboutBox.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TVelotapper.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <algorithm>
#include <cstdio>

namespace {
// The moment a step of the start ended, to tell where the time goes.
void phase(const char* name) {
    std::printf("phase %s %lld\n", name, static_cast<long long>(monotonicNs()));
}
} // namespace

// The same steps, in the same order, as the program's own start.
int runProgram(int argc, char** argv) {
    phase("exec");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velotapper"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velotapper"));
    phase("application");
    // The build's translations, as the program finds them beside itself.
    installTranslators(chooseLanguage(), programTranslationDirs()
                                             << QStringLiteral(VELOTAPPER_QM_DIR));
    phase("translators");
    QtPlatform platform;
    Platform::install(&platform);
    phase("fonts");
    TVelotapper window;
    window.setAboutBox([](TVelotapper& w) { return new TAboutBox(&w); });
    window.setHistory(&window.history());
    window.setPagesDlg([](TVelotapper& w) {
        auto* pages = new TPagesDlg(w.record(), &w);
        pages->setHistory(&w.history());
        return pages;
    });
    phase("window");
    new Probe(&window);
    // The panels of the main window itself, not those of the two dialogs it parents.
    const auto all = window.findChildren<TPanel*>();
    const auto own =
        std::count_if(all.begin(), all.end(), [&](TPanel* p) { return p->window() == &window; });
    std::printf("panels %lld\n", static_cast<long long>(own));
    window.show();
    return app.exec();
}

int runFloor(int argc, char** argv, int panels, FloorText text) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(370, 240);
    for (int i = 0; i < panels; ++i) {
        // A captioned floor draws one letter per panel in the default font, as any
        // window of key legends must; the blank one draws no text at all; the Japanese
        // one also shows one prompt, which pays for finding and loading a Japanese face.
        QString caption(QChar('A' + i % 26));
        if (text == FloorText::Japanese && i == 0) caption = QStringLiteral("次のキーは [A]です。");
        QFrame* frame =
            text != FloorText::None ? new QLabel(caption, &window) : new QFrame(&window);
        frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
        frame->setGeometry(4 + (i % 14) * 26, 4 + (i / 14) * 30,
                           text == FloorText::Japanese && i == 0 ? 297 : 25, 29);
    }
    new Probe(&window);
    window.show();
    return app.exec();
}
