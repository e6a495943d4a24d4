#include "MoreSettingsDlg.h"

#include "ClassSection.h"
#include "DesignTable.h"
#include "GoalSection.h"
#include "HistoryTypes.h"
#include "SettingsSection.h"
#include "SpeechSection.h"
#include "ZoomSection.h"

#include <QPushButton>

namespace {
constexpr int kWidth = 353;
constexpr int kGap = 6;
} // namespace

MoreSettingsDlg::MoreSettingsDlg(QWidget* parent) : SettledHide(parent) {
    setUpFixedDialog(this, "MoreSettingsDlg", tr("その他の設定"), QSize(kWidth, 80));
    // The sections, top to bottom.
    addSection(new GoalSection);
    addSection(new SpeechSection);
    addSection(new ZoomSection);
    addSection(new ClassSection);

    // Made after the sections, so Tab goes through them top to bottom and then here.
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(tr("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        keep();
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    placeButtons();
}

void MoreSettingsDlg::addSection(SettingsSection* s) {
    s->setParent(this);
    s->move(8, bottom_);
    s->resize(kWidth - 16, s->height());
    bottom_ += s->height() + kGap;
    sections << s;
}

void MoreSettingsDlg::placeButtons() {
    OKBtn->setGeometry(kWidth - 166, bottom_ + 2, 75, 25);
    CancelBtn->setGeometry(kWidth - 83, bottom_ + 2, 75, 25);
    setFixedSize(kWidth, bottom_ + 35);
}

SettingsSection* MoreSettingsDlg::section(const QString& name) const {
    for (SettingsSection* s : sections)
        if (s->objectName() == name) return s;
    return nullptr;
}

void MoreSettingsDlg::setHistory(HistoryReader* history) {
    history_ = history;
    const QString locked = history ? history->cannotWrite() : tr("履歴がないため変更できません");
    for (SettingsSection* s : sections) s->fill(history, locked);
}

void MoreSettingsDlg::keep() {
    if (!history_ || !history_->cannotWrite().isEmpty()) return;
    for (SettingsSection* s : sections) s->save(history_);
}
