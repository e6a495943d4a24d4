#include "DesignTable.h"
#include "PracticeRecord.h"
#include "TPagesDlg.h"

#include <QLabel>
#include <QPushButton>
#include <utility>

void TPagesDlg::createRecordsPage() {
    QWidget* page = TabSheet2;
    PanelLook value;
    value.inner = bvRaised;
    value.outer = bvLowered;
    value.color = 0x0080FFFF;
    const auto label = [page](const char* name, int left, int top, const QString& caption) {
        makeLabel(page, name, QRect(left, top, 0, 0), caption);
    };
    label("Label1", 56, 12, tr("最速タイプ記録"));
    pnFastTime = makePanel(page, "pnFastTime", QRect(56, 24, 81, 21), QString(), value);
    label("Label2", 56, 56, tr("平均タイプ記録"));
    pnAvrTime = makePanel(page, "pnAvrTime", QRect(56, 68, 81, 21), QString(), value);
    label("Label3", 56, 96, tr("現在タイプ記録"));
    pnCurTime = makePanel(page, "pnCurTime", QRect(56, 108, 81, 21), QString(), value);
    label("Label4", 212, 28, tr("練習文字数累計"));
    pnAllChar = makePanel(page, "pnAllChar", QRect(212, 44, 81, 21), QString(), value);
    label("Label5", 216, 72, tr("ミスタッチ累計"));
    pnAllMissType = makePanel(page, "pnAllMissType", QRect(212, 88, 81, 21), QString(), value);

    // A screen reader says what each value is, as the labels above them do.
    const std::pair<TPanel*, const char*> values[] = {{pnFastTime, "Label1"},
                                                      {pnAvrTime, "Label2"},
                                                      {pnCurTime, "Label3"},
                                                      {pnAllChar, "Label4"},
                                                      {pnAllMissType, "Label5"}};
    for (const auto& [panel, label] : values)
        panel->setLabel(page->findChild<QLabel*>(QLatin1String(label))->text());

    Clear = new QPushButton(QStringLiteral("Clear"), page);
    Clear->setObjectName(QStringLiteral("Clear"));
    Clear->setGeometry(212, 132, 81, 25);
    connect(Clear, &QPushButton::clicked, this, &TPagesDlg::ClearClick);

    const QFont note = designFont(kPGothic, 12);
    makeLabel(page, "Label8", QRect(28, 144, 0, 0), tr("タイプ記録は 打鍵数/秒です"), clBlue,
              &note);
    makeLabel(page, "Label9", QRect(20, 176, 0, 0),
              tr("フォームポジション記録は平均・最速タイプ記録に含まれません"), clBlue, &note);
}

void TPagesDlg::fillRecordsPage() {
    const auto rate = [](float r) { return QString::asprintf("%.2f", double(r)); };
    pnFastTime->setCaption(rate(record_.fastestRate));
    pnAvrTime->setCaption(rate(record_.averageRate));
    pnCurTime->setCaption(rate(record_.currentRate));
    pnAllChar->setCaption(QString::asprintf("%d", int(record_.typedTotal)));
    pnAllMissType->setCaption(QString::asprintf("%d", int(record_.missTotal)));
}
