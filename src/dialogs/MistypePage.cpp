#include "DesignTable.h"
#include "KeyCapLook.h"
#include "PracticeRecord.h"
#include "TPagesDlg.h"

namespace {

struct KeyRow {
    int top, left;
    const char* captions;
    std::array<const char*, 13> names;
};

// The main block of a JIS keyboard, left to right, each key one character.
const KeyRow kRows[] = {
    {4,
     20,
     "1234567890-^\\",
     {"K1", "Panel3", "Panel4", "Panel5", "Panel6", "Panel7", "Panel8", "Panel9", "Panel10",
      "Panel11", "Panel12", "Panel13", "Panel14"}},
    {32,
     28,
     "QWERTYUIOP@[",
     {"Panel26", "Panel15", "Panel16", "Panel17", "Panel18", "Panel19", "Panel20", "Panel21",
      "Panel22", "Panel23", "Panel24", "Panel25"}},
    {60,
     36,
     "ASDFGHJKL;:]",
     {"Panel27", "Panel28", "Panel29", "Panel30", "Panel31", "Panel32", "Panel33", "Panel34",
      "Panel35", "Panel36", "Panel37", "Panel38"}},
    {88,
     48,
     "ZXCVBNM,./_",
     {"Panel39", "Panel40", "Panel41", "Panel42", "Panel43", "Panel44", "Panel45", "Panel46",
      "Panel47", "Panel48", "Panel49"}},
};

struct LegendRow {
    const char* name;
    int left;
    const char* caption;
    TColor color;
};

const LegendRow kLegend[] = {
    {"Panel61", 36, QT_TRANSLATE_NOOP("TPagesDlg", "８割以上"), clRed},
    {"Panel62", 92, QT_TRANSLATE_NOOP("TPagesDlg", "５割以上"), clYellow},
    {"Panel63", 148, QT_TRANSLATE_NOOP("TPagesDlg", "２割以上"), clAqua},
    {"Panel64", 204, QT_TRANSLATE_NOOP("TPagesDlg", "２割未満"), clWhite},
    {"Panel65", 260, QT_TRANSLATE_NOOP("TPagesDlg", "未打鍵"), clBtnFace},
};

} // namespace

void TPagesDlg::createMistypePage() {
    QWidget* page = TabSheet3;
    std::size_t n = 0;
    for (const KeyRow& row : kRows) {
        for (int i = 0; row.captions[i]; ++i) {
            const char c = row.captions[i];
            TPanel* key = makePanel(page, row.names[std::size_t(i)],
                                    QRect(row.left + 24 * i, row.top, 25, 29),
                                    QString(QLatin1Char(c)), keyCapLook(c));
            key->setMouseTracking(true);
            connect(key, &TPanel::mouseMoved, this, [this, key] { K1MouseMove(key); });
            keys[n++] = key;
        }
    }
    PanelLook legend;
    legend.bevelWidth = 3;
    legend.borderWidth = 1;
    legend.border = bsSingle;
    legend.fontFamily = kTerminal;
    legend.fontHeight = 13;
    for (const LegendRow& row : kLegend) {
        legend.color = row.color;
        makePanel(page, row.name, QRect(row.left, 128, 57, 29), tr(row.caption), legend);
    }
    PanelLook disp;
    disp.inner = bvLowered;
    disp.outer = bvLowered;
    disp.borderWidth = 1;
    disp.border = bsSingle;
    disp.color = clWhite;
    disp.fontFamily = kTerminal;
    disp.fontHeight = 19;
    Disp = makePanel(page, "Disp", QRect(20, 160, 313, 25), QStringLiteral("1/2"), disp);
    Disp->setLabel(tr("ミスの詳細"));

    page->setMouseTracking(true);
    page->installEventFilter(this);
}

TColor TPagesDlg::mistypeColor(int tries, int misses) {
    if (tries == 0) return clBtnFace;
    const double r = double(misses) / double(tries);
    if (r >= 0.8) return clRed;
    if (r >= 0.5) return clYellow;
    if (r >= 0.2) return clAqua;
    return clWhite;
}

void TPagesDlg::fillMistypeMap() {
    // The keys are the one-character panels; the value panels ("pn…") can show a
    // one-character number too and stay out.
    for (QWidget* w : findChildren<QWidget*>()) {
        auto* p = qobject_cast<TPanel*>(w);
        if (!p || p->caption().size() != 1 || p->objectName().startsWith(QLatin1String("pn")))
            continue;
        const KeyStat& s = record_.keyStats[p->caption().at(0).unicode() & 0xFF];
        p->setColor(mistypeColor(s.tries, s.misses));
        // What the pointer shows over a key, a screen reader reads without one.
        p->setAccessibleName(p->caption() + tr(": %1/%2(ミス/試験数)").arg(s.misses).arg(s.tries));
    }
}

void TPagesDlg::K1MouseMove(TPanel* key) {
    const QChar c = key->caption().isEmpty() ? QChar() : key->caption().at(0);
    const KeyStat& s = record_.keyStats[c.unicode() & 0xFF];
    Disp->setCaption(QString(c) + tr(": %1/%2(ミス/試験数)").arg(s.misses).arg(s.tries));
}

void TPagesDlg::TabSheet3MouseMove() {
    Disp->setCaption(QString());
}
