// The program in the desktop's language. CTest runs this under a Japanese and an
// English locale (the English one at 100, 150 and 200 %); each case checks the
// language it finds.
#include "FakeHistory.h"
#include "Language.h"
#include "PracticeRecord.h"
#include "ProgressChart.h"
#include "ProgressPage.h"
#include "QtPlatform.h"
#include "TAboutBox.h"
#include "TMemo.h"
#include "TPagesDlg.h"
#include "TPanel.h"
#include "TVelotapper.h"
#include "TestEnv.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

bool hasJapanese(const QString& s) {
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF9F)) return true;
    }
    return false;
}

// What the widget shows and how wide its room for it is; empty for widgets without
// a text of their own.
std::pair<QString, int> textAndRoom(QWidget* w) {
    if (auto* p = qobject_cast<TPanel*>(w)) {
        const int room = p->contentsRect().width() - 2 * (p->bevelWidth() + p->borderWidth());
        return {p->caption(), p->caption().isEmpty() ? 0 : room};
    }
    if (auto* l = qobject_cast<QLabel*>(w)) return {l->text(), l->wordWrap() ? 0 : l->width()};
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        auto* b = static_cast<QAbstractButton*>(w);
        // What the box or ring and its gap leave of the width.
        return {b->text(),
                b->width() - (b->sizeHint().width() -
                              b->fontMetrics().horizontalAdvance(QString(b->text()).remove(u'&')))};
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) return {b->text(), b->width() - 8};
    if (auto* g = qobject_cast<QGroupBox*>(w)) return {g->title(), g->width() - 16};
    return {};
}

// Every visible widget of the window: its texts, tooltips and tab captions read no
// Japanese, and with fit set its text fits its room and it lies inside its parent.
void walk(QWidget* window, bool fit = true) {
    QList<QWidget*> all = window->findChildren<QWidget*>();
    all.prepend(window);
    for (QWidget* w : std::as_const(all)) {
        if (!w->isVisibleTo(window) && w != window) continue;
        if (qobject_cast<TMemo*>(w)) continue; // lesson text
        const QString where = window->objectName() + u'/' + w->objectName();
        QStringList texts{w->windowTitle(), w->toolTip()};
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i) {
                texts << tabs->tabText(i);
                QVERIFY2(tabs->tabRect(i).right() < tabs->width(), qPrintable(tabs->tabText(i)));
            }
        if (auto* chart = qobject_cast<ProgressChart*>(w)) texts << chart->legend();
        const auto [text, room] = textAndRoom(w);
        texts << text;
        for (const QString& t : std::as_const(texts))
            QVERIFY2(!hasJapanese(t), qPrintable(where + QStringLiteral(": ") + t));
        if (!fit) continue;
        if (auto* l = qobject_cast<QLabel*>(w); l && l->wordWrap())
            QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(where));
        auto* panel = qobject_cast<TPanel*>(w);
        const QFontMetrics fm(panel ? panel->captionFont() : w->font());
        QVERIFY2(fm.horizontalAdvance(QString(text).remove(u'&')) <= room || room <= 0,
                 qPrintable(where + QStringLiteral(": ") + text));
        if (w != window && w->parentWidget() && !qobject_cast<QTabBar*>(w->parentWidget()))
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(where));
    }
}

// Runs act on the modal box or dialog that the next exec opens, then closes it.
template <typename Box> void onModal(const std::function<void(Box*)>& act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
        QVERIFY(box);
        act(box);
        box->reject();
    });
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void choice_data();
    void choice();
    void qtButtons_data();
    void qtButtons();
    void englishWindows();
    void englishPrompts_data();
    void englishPrompts();

private:
    UiLanguage language_ = UiLanguage::Japanese;
};

void TestLanguage::initTestCase() {
    language_ = chooseLanguage();
    QVERIFY(!installTranslators(language_, {QStringLiteral(VELOTAPPER_QM_DIR)}).isEmpty());
}

void TestLanguage::choice_data() {
    QTest::addColumn<QStringList>("env"); // NAME=value pairs
    QTest::addColumn<bool>("english");
    QTest::newRow("English LANG") << QStringList{"LANG=en_US.UTF-8"} << true;
    QTest::newRow("German LANG") << QStringList{"LANG=de_DE.UTF-8"} << false;
    QTest::newRow("C") << QStringList{"LANG=C"} << false;
    QTest::newRow("POSIX") << QStringList{"LC_ALL=POSIX"} << false;
    QTest::newRow("nothing set") << QStringList{} << false;
    QTest::newRow("LC_ALL before LANG")
        << QStringList{"LC_ALL=ja_JP.UTF-8", "LANG=en_US.UTF-8"} << false;
    QTest::newRow("LC_MESSAGES before LANG")
        << QStringList{"LC_MESSAGES=en_GB.UTF-8", "LANG=ja_JP.UTF-8"} << true;
    QTest::newRow("LANGUAGE list") << QStringList{"LANGUAGE=en_GB:ja", "LANG=ja_JP.UTF-8"} << true;
    QTest::newRow("LANGUAGE under C")
        << QStringList{"LANGUAGE=en", "LC_ALL=C.UTF-8", "LANG=en_US.UTF-8"} << false;
    QTest::newRow("override to English") << QStringList{"VELOTAPPER_LANG=en", "LANG=C"} << true;
    QTest::newRow("override to Japanese")
        << QStringList{"VELOTAPPER_LANG=ja", "LANG=en_US.UTF-8"} << false;
}

void TestLanguage::choice() {
    QFETCH(QStringList, env);
    QFETCH(bool, english);
    const auto get = [&env](const char* name) {
        const QString prefix = QString::fromLatin1(name) + u'=';
        for (const QString& e : env)
            if (e.startsWith(prefix)) return e.mid(prefix.size());
        return QString();
    };
    QCOMPARE(chooseLanguage(get) == UiLanguage::English, english);
}

void TestLanguage::qtButtons_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("confirm box") << 0;
    QTest::newRow("file dialog") << 1;
}

// Qt's own buttons speak the program's language.
void TestLanguage::qtButtons() {
    QFETCH(int, which);
    QtPlatform platform;
    const bool japanese = language_ == UiLanguage::Japanese;
    QStringList seen;
    if (which == 0) {
        onModal<QMessageBox>([&seen](QMessageBox* box) {
            for (QAbstractButton* b : box->buttons()) seen << b->text();
        });
        QVERIFY(!platform.confirm(nullptr, QStringLiteral("?")));
        QCOMPARE(seen.size(), 2);
    } else {
        onModal<QFileDialog>([&seen](QFileDialog* dialog) {
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            QVERIFY(buttons);
            seen << buttons->button(QDialogButtonBox::Open)->text();
        });
        QVERIFY(platform.openFile(nullptr, QStringLiteral("*.txt"), false).isEmpty());
        QCOMPARE(seen.size(), 1);
    }
    for (const QString& s : std::as_const(seen))
        QVERIFY2(hasJapanese(s) == japanese, qPrintable(s));
}

void TestLanguage::englishWindows() {
    if (language_ != UiLanguage::English) QSKIP("for the English desktop");
    TestEnv env;
    TVelotapper w;
    w.show();
    walk(&w, false); // key legends and prompts, the same in both languages, are drawn as designed
    TAboutBox about(&w);
    about.show();
    walk(&about);
    PracticeRecord record;
    record.applyDefaults();
    // A run of every kind, for the chart's legend and the key lists.
    FakeHistory history;
    const QDateTime at = QDateTime::currentDateTimeUtc();
    for (const char* mode : {"lesson", "text", "drill", "weak", "japanese", "other"})
        history.runs << HistoryRun{0, at, at, QString::fromLatin1(mode), {}, 10, 100, 5, 2.5, true};
    history.keys = {{65, 10, 9, 9000, 83, 9}};
    TPagesDlg pages(record, &w);
    pages.setHistory(&history);
    pages.show();
    for (int i = 0; i < pages.PageControl1->count(); ++i) {
        pages.PageControl1->setCurrentIndex(i);
        walk(&pages);
    }
    // The progress page with the course in place of the chart and key lists.
    pages.TabSheet5->courseBtn->click();
    walk(&pages);
}

void TestLanguage::englishPrompts_data() {
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("arg");
    const auto row = [](const char* context, const char* source, const char* arg = nullptr) {
        QTest::newRow(source) << context << QString::fromUtf8(source)
                              << (arg ? QString::fromLatin1(arg) : QString());
    };
    row("TextExercise", "フォームポジションにして下さい。");
    row("TextExercise", "表示するキーを押して下さい");
    row("TextExercise", "次のキーは:[%1]です。", "W");
    row("TextExercise", "次のキーは [改行||空白]です。");
    row("TextExercise", "スピードは %1文字/秒 です", "999.9");
    row("Drill", "[%1] のキー.[Esc]で強制終了", "W");
    row("JapaneseExercise", "%1キー/秒 %2かな/分", "999.9");
    row("WeakKeys", "苦手キー:", "W W W W W");
}

// The prompt line shows them in its own size.
void TestLanguage::englishPrompts() {
    if (language_ != UiLanguage::English) QSKIP("for the English desktop");
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, arg);
    QString text = QCoreApplication::translate(qPrintable(context), qPrintable(source));
    QVERIFY(text != source);
    text = source.contains(u"%2")   ? text.arg(arg, arg)
           : source.contains(u"%1") ? text.arg(arg)
                                    : text + arg;
    TestEnv env;
    TVelotapper w;
    w.Display->setCaption(text);
    QVERIFY(!hasJapanese(text));
    QCOMPARE(w.Display->captionFont().toString(), w.Display->font().toString());
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
