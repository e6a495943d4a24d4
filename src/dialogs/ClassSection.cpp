#include "ClassSection.h"

#include "ClassService.h"
#include "HistoryTypes.h"

#include <QLabel>
#include <QLineEdit>

namespace {

const QString kService = QStringLiteral("class.service");
const QString kTeacher = QStringLiteral("class.teacher");

// Service names are plain ASCII: no input method comes between.
class ServiceEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        return query == Qt::ImEnabled ? QVariant(false) : QLineEdit::inputMethodQuery(query);
    }
};

} // namespace

ClassSection::ClassSection(QWidget* parent) : SettingsSection(tr("クラス"), parent) {
    setObjectName(QStringLiteral("ClassSection"));
    resize(337, 100);
    auto* serviceLabel = new QLabel(tr("接続サービス名:"), this);
    serviceLabel->setGeometry(8, 20, 120, 20);
    service = new ServiceEdit(this);
    service->setObjectName(QStringLiteral("classService"));
    service->setGeometry(130, 20, 199, 21);
    service->setToolTip(tr("pg_service.conf にある、成績を送るクラスのサービス名"));
    serviceLabel->setBuddy(service);
    auto* teacherLabel = new QLabel(tr("先生の接続サービス名:"), this);
    teacherLabel->setGeometry(8, 46, 120, 20);
    teacher = new ServiceEdit(this);
    teacher->setObjectName(QStringLiteral("classTeacher"));
    teacher->setGeometry(130, 46, 199, 21);
    teacher->setToolTip(tr("クラスの進み具合を見る先生のサービス名（先生だけ）"));
    teacherLabel->setBuddy(teacher);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("classStatus"));
    status->setGeometry(8, 72, 321, 22);
    status->setWordWrap(false);
}

void ClassSection::fill(HistoryReader* history, const QString& locked) {
    keptService_ = history ? history->setting(kService) : QString();
    keptTeacher_ = history ? history->setting(kTeacher) : QString();
    service->setText(keptService_);
    teacher->setText(keptTeacher_);
    service->setEnabled(locked.isEmpty());
    teacher->setEnabled(locked.isEmpty());
    setToolTip(locked);
    ClassService* c = ClassService::current();
    const QString line = c ? c->statusLine() : QString();
    // One line: what does not fit is in the tip.
    status->setText(status->fontMetrics().elidedText(line, Qt::ElideRight, status->width()));
    status->setToolTip(line);
}

void ClassSection::save(HistoryReader* history) {
    if (!history) return;
    const QString s = service->text().trimmed(), t = teacher->text().trimmed();
    if (s != keptService_) history->setSetting(kService, s);
    if (t != keptTeacher_) history->setSetting(kTeacher, t);
}
