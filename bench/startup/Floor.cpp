// The floor the program's start is held against: a bare Qt window of the main window's
// size with LABELS framed labels, each with a one-letter caption but the first, which
// holds a Japanese prompt (so its first frame finds and loads a Japanese face, as the
// program's must). Links Qt Widgets only.
//
//   startup_floor LABELS
#include "Clock.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <cstdlib>

namespace {

// Reports the first frame as the program does: once the pass that its window's first
// paint begins is over.
class FrameReport : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [] { phase("frame"); });
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    phase("exec");
    QApplication app(argc, argv);
    phase("application");
    const int labels = argc > 1 ? std::atoi(argv[1]) : 0;
    QWidget window;
    window.setFixedSize(370, 240);
    for (int i = 0; i < labels; ++i) {
        auto* label = new QLabel(i == 0 ? QStringLiteral("次のキーは [A]です。")
                                        : QString(QChar('A' + i % 26)),
                                 &window);
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        label->setGeometry(4 + (i % 14) * 26, 4 + (i / 14) * 30, i == 0 ? 297 : 25, 29);
    }
    window.installEventFilter(new FrameReport);
    phase("window");
    window.show();
    return app.exec();
}
