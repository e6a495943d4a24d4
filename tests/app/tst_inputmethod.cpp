#include "TAboutBox.h"
#include "TMemo.h"
#include "TPagesDlg.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QInputMethodQueryEvent>
#include <QtTest>

// An input method engaged on any of our windows would swallow the practice keys, so
// every widget a key can reach must decline one, asked the way Qt asks it.
class TestInputMethod : public QObject {
    Q_OBJECT
private slots:
    void noWidgetTakesAnInputMethod();
};

namespace {

bool answersImEnabled(QWidget* w) {
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(w, &query);
    return query.value(Qt::ImEnabled).toBool();
}

} // namespace

void TestInputMethod::noWidgetTakesAnInputMethod() {
    TestEnv env;
    TVelotapper window;
    TAboutBox about(&window);
    TPagesDlg pages(window.record(), &window);
    int focusable = 0;
    for (QWidget* top : std::initializer_list<QWidget*>{&window, &about, &pages}) {
        QList<QWidget*> widgets = top->findChildren<QWidget*>();
        widgets.prepend(top);
        for (QWidget* w : widgets) {
            if (w != top && w->focusPolicy() == Qt::NoFocus) continue;
            ++focusable;
            QVERIFY2(!answersImEnabled(w),
                     qPrintable(top->objectName() + QLatin1Char('/') + w->objectName() +
                                QLatin1Char(' ') + QLatin1String(w->metaObject()->className())));
        }
    }
    QVERIFY(focusable > 20); // the walk reached the buttons of all three windows
    QVERIFY(!answersImEnabled(window.Memo));
}

QTEST_MAIN(TestInputMethod)
#include "tst_inputmethod.moc"
