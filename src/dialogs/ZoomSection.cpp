#include "ZoomSection.h"

#include "HistoryTypes.h"
#include "ZoomFile.h"

#include <QLabel>
#include <QRadioButton>

namespace {
int keptPercent(HistoryReader* history) {
    const int v = history ? history->setting(kZoomSetting).toInt() : 0;
    return v == 150 || v == 200 ? v : 100;
}
} // namespace

ZoomSection::ZoomSection(QWidget* parent) : SettingsSection(tr("表示の倍率"), parent) {
    setObjectName(QStringLiteral("gbZoom"));
    resize(337, 66);
    int left = 12;
    for (auto [button, percent, name] :
         {std::tuple{&rbZoom100, 100, "rbZoom100"}, std::tuple{&rbZoom150, 150, "rbZoom150"},
          std::tuple{&rbZoom200, 200, "rbZoom200"}}) {
        *button = new QRadioButton(QStringLiteral("%1 %").arg(percent), this);
        (*button)->setObjectName(QString::fromLatin1(name));
        (*button)->setGeometry(left, 22, 80, 17);
        left += 88;
    }
    lbZoomNote = new QLabel(tr("次に起動したときから変わります"), this);
    lbZoomNote->setObjectName(QStringLiteral("lbZoomNote"));
    lbZoomNote->setGeometry(12, 44, 317, 17);
}

int ZoomSection::zoom() const {
    return rbZoom200->isChecked() ? 200 : rbZoom150->isChecked() ? 150 : 100;
}

void ZoomSection::fill(HistoryReader* history, const QString& locked) {
    const int kept = keptPercent(history);
    (kept == 200 ? rbZoom200 : kept == 150 ? rbZoom150 : rbZoom100)->setChecked(true);
    for (QRadioButton* b : {rbZoom100, rbZoom150, rbZoom200})
        b->setEnabled(history && locked.isEmpty());
    setToolTip(locked);
}

void ZoomSection::save(HistoryReader* history) {
    if (!rbZoom100->isEnabled() || zoom() == keptPercent(history)) return;
    history->setSetting(kZoomSetting, QString::number(zoom()));
    // The start reads this file, not the history.
    keepZoom(zoom());
}
