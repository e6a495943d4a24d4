#include "DesignTable.h"
#include "Platform.h"
#include "PracticeRecord.h"
#include "TPagesDlg.h"

#include <QLabel>

namespace {

struct FingerRow {
    const char* name;
    const char* caption;
    QRect geometry;
};

const FingerRow kFingers[] = {
    {"Panel50", QT_TRANSLATE_NOOP("TPagesDlg", "小指"), {16, 72, 25, 61}},
    {"Panel57", QT_TRANSLATE_NOOP("TPagesDlg", "薬指"), {44, 56, 25, 77}},
    {"Panel53", QT_TRANSLATE_NOOP("TPagesDlg", "中指"), {72, 56, 25, 77}},
    {"Panel52", QT_TRANSLATE_NOOP("TPagesDlg", "人指"), {100, 56, 25, 77}},
    {"Panel54", QT_TRANSLATE_NOOP("TPagesDlg", "親指"), {128, 76, 29, 57}},
    {"Panel55", QT_TRANSLATE_NOOP("TPagesDlg", "親指"), {184, 76, 29, 57}},
    {"Panel56", QT_TRANSLATE_NOOP("TPagesDlg", "人指"), {216, 56, 25, 77}},
    {"Panel58", QT_TRANSLATE_NOOP("TPagesDlg", "中指"), {244, 56, 25, 77}},
    {"Panel59", QT_TRANSLATE_NOOP("TPagesDlg", "薬指"), {272, 56, 25, 77}},
    {"Panel60", QT_TRANSLATE_NOOP("TPagesDlg", "小指"), {300, 72, 25, 61}},
};

} // namespace

void TPagesDlg::createColorPage() {
    QWidget* page = TabSheet4;
    makeLabel(page, "Label6", QRect(32, 20, 0, 0), tr("左手"));
    makeLabel(page, "Label7", QRect(280, 24, 0, 0), tr("右手"));
    PanelLook finger;
    finger.fontFamily = kGothic;
    finger.fontHeight = 13;
    for (const FingerRow& row : kFingers) {
        const QString caption = tr(row.caption);
        // The designed names are drawn as designed; a translated one shrinks to the finger.
        makePanel(page, row.name, row.geometry, caption, finger)
            ->setShrinkToFit(caption != QString::fromUtf8(row.caption));
    }

    // The colour panels lie on the fingertips, so they are made after the fingers.
    PanelLook tip;
    tip.color = clWhite;
    const auto colorPanel = [this, page, &tip](const char* name, const QRect& geometry,
                                               const QString& finger) {
        TPanel* p = makePanel(page, name, geometry, QString(), tip);
        // Chosen from the keyboard too: Tab to it, Space or Enter opens the picker.
        p->setPressable(true);
        p->setAccessibleName(tr("%1の色").arg(finger));
        connect(p, &TPanel::clicked, this, [this, p] { pnAClick(p); });
        return p;
    };
    pnA = colorPanel("pnA", QRect(20, 76, 17, 17), tr("左手小指"));
    pnS = colorPanel("pnS", QRect(48, 60, 17, 17), tr("左手薬指"));
    pnD = colorPanel("pnD", QRect(76, 60, 17, 17), tr("左手中指"));
    pnF = colorPanel("pnF", QRect(104, 60, 17, 17), tr("左手人差し指"));
    pnSPl = colorPanel("pnSPl", QRect(132, 80, 21, 17), tr("左手親指"));
    pnSPr = colorPanel("pnSPr", QRect(188, 80, 21, 17), tr("右手親指"));
    pnJ = colorPanel("pnJ", QRect(220, 60, 17, 17), tr("右手人差し指"));
    pnK = colorPanel("pnK", QRect(248, 60, 17, 17), tr("右手中指"));
    pnL = colorPanel("pnL", QRect(276, 60, 17, 17), tr("右手薬指"));
    pnP = colorPanel("pnP", QRect(304, 76, 17, 17), tr("右手小指"));
}

void TPagesDlg::fillColorPanels() {
    TPanel* const fingers[] = {pnA, pnS, pnD, pnF, pnJ, pnK, pnL, pnP};
    for (std::size_t i = 0; i < 8; ++i) fingers[i]->setColor(record_.fingerColors[i]);
    pnSPl->setColor(record_.fingerColors[8]);
    pnSPr->setColor(record_.fingerColors[8]);
}

void TPagesDlg::pnAClick(TPanel* panel) {
    const std::optional<TColor> chosen = Platform::get().pickColor(this, lastPicked_);
    if (!chosen) return;
    lastPicked_ = *chosen;
    static const char* const names[] = {"pnA", "pnS", "pnD", "pnF", "pnJ", "pnK", "pnL", "pnP"};
    const QString name = panel->objectName();
    for (std::size_t i = 0; i < 8; ++i) {
        if (name == QLatin1String(names[i])) {
            record_.fingerColors[i] = *chosen;
            panel->setColor(*chosen);
            return;
        }
    }
    if (name == QLatin1String("pnSPr") || name == QLatin1String("pnSPl")) {
        record_.fingerColors[8] = *chosen;
        pnSPl->setColor(*chosen);
        pnSPr->setColor(*chosen);
    }
}
