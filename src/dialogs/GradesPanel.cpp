#include "GradesPanel.h"

#include "Certificate.h"
#include "Platform.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <algorithm>
#include <array>
#include <cmath>

using grades::Way;

namespace {

constexpr Way kWays[] = {Way::Letters, Way::Romaji, Way::Kana};

QString wayCaption(Way way) {
    switch (way) {
    case Way::Romaji:
        return GradesPanel::tr("ローマ字");
    case Way::Kana:
        return GradesPanel::tr("かな");
    default:
        return GradesPanel::tr("英字");
    }
}

QList<TestResult> resultsOf(const QList<HistoryTest>& tests) {
    QList<TestResult> out;
    out.reserve(tests.size());
    for (const HistoryTest& t : tests) out << t.result;
    return out;
}

} // namespace

QList<TestResult> testResultsOf(HistoryReader* history, Way way) {
    return history ? resultsOf(history->testResults(grades::wayName(way))) : QList<TestResult>();
}

GradesPanel::GradesPanel(QWidget* parent) : QWidget(parent) {
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    wayBox = new QComboBox(this);
    wayBox->setObjectName(QStringLiteral("cbGradeWay"));
    wayBox->setGeometry(2, 2, 86, 20);
    for (Way w : kWays) wayBox->addItem(wayCaption(w), grades::wayName(w));
    connect(wayBox, &QComboBox::activated, this,
            [this](int i) { setWay(kWays[std::clamp(i, 0, 2)]); });

    next = new QLabel(this);
    next->setObjectName(QStringLiteral("lbNextGrade"));
    next->setGeometry(92, 2, 259, 20);

    table = new QTableWidget(0, 7, this);
    table->setObjectName(QStringLiteral("tbGrades"));
    table->setGeometry(2, 24, 349, 120);
    table->setHorizontalHeaderLabels(
        {tr("級"), tr("文"), tr("分"), tr("速さ"), tr("正確"), tr("取得"), tr("最高")});
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(15);
    table->horizontalHeader()->setFixedHeight(16);
    table->horizontalHeader()->setMinimumSectionSize(20);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int c : {0, 1, 2, 3, 4, 5, 6})
        table->setColumnWidth(c, std::array{58, 92, 26, 40, 34, 30, 40}[std::size_t(c)]);
    connect(table, &QTableWidget::itemSelectionChanged, this, &GradesPanel::selectionChanged);

    certificateBtn = new QPushButton(tr("合格証を保存"), this);
    certificateBtn->setObjectName(QStringLiteral("btnCertificate"));
    certificateBtn->setGeometry(2, 146, 110, 22);
    certificateBtn->setToolTip(tr("選んだ級の合格証をPDFで保存します"));
    certificateBtn->setEnabled(false);
    connect(certificateBtn, &QPushButton::clicked, this, &GradesPanel::certificateClick);
    fill();
}

void GradesPanel::setHistory(HistoryReader* reader) {
    reader_ = reader;
    if (isVisible()) fill();
}

void GradesPanel::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) fill();
    QWidget::showEvent(e);
}

void GradesPanel::setWay(Way way) {
    way_ = way;
    fill();
}

void GradesPanel::fill() {
    wayBox->setCurrentIndex(int(std::find(std::begin(kWays), std::end(kWays), way_) - kWays));
    tests_ = reader_ ? reader_->testResults(grades::wayName(way_)) : QList<HistoryTest>();
    const QList<TestResult> results = resultsOf(tests_);
    const std::set<int> earned = grades::earnedGrades(results);
    const std::vector<grades::Grade>& ladder = grades::ladder(way_);
    const int nextIndex = grades::nextGrade(way_, earned);

    table->clearContents();
    table->setRowCount(int(ladder.size()));
    for (const grades::Grade& g : ladder) {
        const std::optional<TestResult> best = grades::bestAt(results, g.index);
        const QStringList cells = {
            grades::gradeName(g.index),
            grades::kindName(g.kind),
            QString::number(g.minutes),
            QString::number(g.passNet),
            QStringLiteral("%1%").arg(g.passAccuracy),
            earned.count(g.index)  ? tr("◎")
            : g.index == nextIndex ? tr("→")
                                   : QString(),
            best ? QString::number(std::lround(best->net)) : QString(),
        };
        for (int c = 0; c < int(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            if (g.index == nextIndex) item->setBackground(QColor(255, 255, 176));
            table->setItem(g.index, c, item);
        }
    }
    if (nextIndex < 0) {
        next->setText(tr("すべての級を取得しました"));
    } else {
        const grades::Shortfall s = grades::shortfall(way_, nextIndex, results);
        const QString name = grades::gradeName(nextIndex);
        if (s.net > 0)
            next->setText(tr("あと %1 字/分 で %2").arg(std::lround(std::ceil(s.net))).arg(name));
        else if (s.accuracy > 0)
            next->setText(tr("あと正確さ %1% で %2")
                              .arg(QString::number(std::ceil(s.accuracy * 10) / 10))
                              .arg(name));
        else
            next->setText(tr("次は %1 のテスト").arg(name));
        table->scrollToItem(table->item(nextIndex, 0), QAbstractItemView::PositionAtCenter);
    }
    selectionChanged();
}

std::optional<HistoryTest> GradesPanel::bestPassed() const {
    const QList<QTableWidgetItem*> picked = table->selectedItems();
    if (picked.isEmpty()) return std::nullopt;
    const int index = picked.front()->row();
    std::optional<HistoryTest> best;
    for (const HistoryTest& t : tests_)
        if (t.result.grade == index && t.result.passed &&
            (!best || t.result.net > best->result.net))
            best = t;
    return best;
}

void GradesPanel::selectionChanged() {
    certificateBtn->setEnabled(bestPassed().has_value());
}

void GradesPanel::certificateClick() {
    const std::optional<HistoryTest> best = bestPassed();
    if (!best || !reader_) return;
    Platform& platform = Platform::get();
    const QString key = QStringLiteral("learner.name");
    QString name = reader_->setting(key).trimmed();
    if (name.isEmpty()) {
        const std::optional<QString> asked =
            platform.askText(this, tr("合格証に載せるお名前を入力して下さい。"), QString());
        if (!asked || asked->trimmed().isEmpty()) return;
        name = asked->trimmed();
        reader_->setSetting(key, name);
    }
    const TestResult& r = best->result;
    const QString path =
        platform.saveFile(this, tr("PDFファイル(*.pdf)"),
                          tr("合格証_%1_%2.pdf").arg(wayCaption(way_), grades::gradeName(r.grade)));
    if (path.isEmpty()) return;
    Certificate c;
    c.name = name;
    c.way = wayCaption(way_);
    c.grade = grades::gradeName(r.grade);
    c.date = best->at.toLocalTime().date();
    c.net = r.net;
    c.accuracy = r.accuracy;
    c.textId = r.textId;
    if (!writeCertificate(path, c))
        platform.messageBox(this, tr("合格証を書き込めません。\n%1").arg(path));
}
