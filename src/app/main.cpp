#include "Fonts.h"
#include "Platform.h"
#include "QtPlatform.h"
#include "TAboutBox.h"
#include "TPagesDlg.h"
#include "TVelotapper.h"

#include <QApplication>
#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velotapper"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velotapper"));
    registerFontSubstitutions();
    QtPlatform platform;
    Platform::install(&platform);
    try {
        TVelotapper window;
        TAboutBox about(&window);
        TPagesDlg pages(window.record(), &window);
        window.setAboutBox(&about);
        window.setPagesDlg(&pages);
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        platform.messageBox(nullptr, QString::fromLocal8Bit(e.what()));
        return 0;
    }
}
