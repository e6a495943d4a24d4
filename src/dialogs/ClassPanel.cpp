#include "ClassPanel.h"

#include "Platform.h"
#include "ProgressChart.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QTableWidget>

namespace {

// A cell that sorts by its key (numbers as numbers, times as times), shown as its text.
class Cell : public QTableWidgetItem {
public:
    Cell(const QString& text, const QVariant& key) : QTableWidgetItem(text) {
        setData(Qt::UserRole, key);
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant a = data(Qt::UserRole), b = other.data(Qt::UserRole);
        if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
            return a.toString().localeAwareCompare(b.toString()) < 0;
        return a.toDouble() < b.toDouble();
    }
};

// Quoted where a spreadsheet could split it (a semicolon too: the separator of many locales).
QString csvField(const QString& s) {
    if (!s.contains(QRegularExpression(QStringLiteral("[,;\"\r\n]")))) return s;
    return QLatin1Char('"') + QString(s).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace

ClassPanel::ClassPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ClassPanel"));
    table = new QTableWidget(0, 8, this);
    table->setObjectName(QStringLiteral("ClassTable"));
    table->setGeometry(0, 0, 351, 104);
    table->setHorizontalHeaderLabels({tr("番号"), tr("名前"), tr("最後の練習"), tr("今週(分)"),
                                      tr("速さ"), tr("正確さ"), tr("コース"), tr("最高の段級")});
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(18);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    connect(table, &QTableWidget::itemSelectionChanged, this, &ClassPanel::chooseRow);
    chart = new ProgressChart(this);
    chart->setObjectName(QStringLiteral("ClassChart"));
    chart->setGeometry(0, 106, 220, 62);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("ClassStatus"));
    status->setGeometry(224, 106, 127, 38);
    status->setWordWrap(true);
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    exportBtn = new QPushButton(tr("CSV"), this);
    exportBtn->setObjectName(QStringLiteral("btnClassExport"));
    exportBtn->setGeometry(224, 146, 60, 22);
    exportBtn->setToolTip(tr("クラスの表をCSVファイルに書き出します"));
    connect(exportBtn, &QPushButton::clicked, this, &ClassPanel::exportClick);
}

void ClassPanel::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) load();
    QWidget::showEvent(e);
}

void ClassPanel::load() {
    QElapsedTimer clock;
    clock.start();
    ClassService* c = ClassService::current();
    ClassTable t;
    if (service_.isEmpty() || !c)
        t.problem = tr("先生の接続サービスが設定されていません。");
    else
        t = c->readClass(service_);
    learners_ = t.learners;
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(int(learners_.size()));
    const QLocale locale;
    for (int row = 0; row < learners_.size(); ++row) {
        const ClassLearner& l = learners_[row];
        const auto number = [](const std::optional<double>& v, int decimals) {
            return v ? QString::number(*v, 'f', decimals) : QString();
        };
        const QString last =
            l.lastPractice.isValid()
                ? locale.toString(l.lastPractice.toLocalTime(), QStringLiteral("yyyy-MM-dd HH:mm"))
                : QString();
        const QVariant cells[][2] = {
            {l.number, l.number.toDouble() != 0 || l.number == QLatin1String("0")
                           ? QVariant(l.number.toDouble())
                           : QVariant(l.number)},
            {l.name, l.name},
            {last, double(l.lastPractice.isValid() ? l.lastPractice.toMSecsSinceEpoch() : 0)},
            {QString::number(l.minutesThisWeek, 'f', 0), l.minutesThisWeek},
            {number(l.speed, 1), l.speed.value_or(-1)},
            {l.accuracy ? number(l.accuracy, 1) + QLatin1Char('%') : QString(),
             l.accuracy.value_or(-1)},
            {l.course, l.course},
            {l.grade, l.grade},
        };
        for (int col = 0; col < 8; ++col) {
            auto* item = new Cell(cells[col][0].toString(), cells[col][1]);
            item->setData(Qt::UserRole + 1, row); // the learner it shows
            table->setItem(row, col, item);
        }
    }
    table->setSortingEnabled(true);
    chart->showRuns({});
    status->setText(t.problem.isEmpty() ? tr("%1 人").arg(learners_.size()) : t.problem);
    status->setToolTip(t.problem);
    exportBtn->setEnabled(!learners_.isEmpty());
    lastLoadMs = clock.elapsed();
}

void ClassPanel::chooseRow() {
    const QList<QTableWidgetItem*> chosen = table->selectedItems();
    ClassService* c = ClassService::current();
    if (chosen.isEmpty() || !c) return;
    const int i = chosen.first()->data(Qt::UserRole + 1).toInt();
    if (i < 0 || i >= learners_.size()) return;
    QString problem;
    chart->showRuns(c->learnerRuns(service_, learners_[i].role, &problem));
    status->setText(problem.isEmpty() ? learners_[i].name : problem);
}

QString ClassPanel::csv() const {
    QStringList lines;
    QStringList head;
    for (int col = 0; col < table->columnCount(); ++col)
        head << csvField(table->horizontalHeaderItem(col)->text());
    lines << head.join(QLatin1Char(','));
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList fields;
        for (int col = 0; col < table->columnCount(); ++col)
            fields << csvField(table->item(row, col) ? table->item(row, col)->text() : QString());
        lines << fields.join(QLatin1Char(','));
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void ClassPanel::exportClick() {
    QString path = Platform::get().saveFile(this, tr("CSVファイル (*.csv)"),
                                            QStringLiteral("Velotap-class.csv"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    QFile f(path);
    // A byte order mark, so a spreadsheet reads the names as UTF-8.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write("\xEF\xBB\xBF" + csv().toUtf8()) < 0 || !f.flush())
        Platform::get().messageBox(this, tr("クラスの表を書き出せませんでした。"));
}
