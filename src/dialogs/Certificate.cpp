#include "Certificate.h"

#include "Fonts.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace {
struct Words {
    Q_DECLARE_TR_FUNCTIONS(Certificate)
};
} // namespace

bool writeCertificate(const QString& path, const Certificate& c) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    printer.setCreator(QStringLiteral("Velotapper"));
    printer.setDocName(Words::tr("段級認定証"));
    QPainter p;
    if (!p.begin(&printer)) return false;

    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    const double mm = printer.resolution() / 25.4;
    p.setPen(QPen(QColor(160, 120, 32), 2 * mm));
    p.drawRect(area.adjusted(mm, mm, -mm, -mm));
    p.setPen(QPen(QColor(160, 120, 32), 0.5 * mm));
    p.drawRect(area.adjusted(4 * mm, 4 * mm, -4 * mm, -4 * mm));

    QFont font(designFont(kPGothic, 12));
    const auto line = [&](const QString& text, double top, double points, bool bold = false) {
        font.setPointSizeF(points);
        font.setBold(bold);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRectF(0, top * mm, area.width(), points * mm), Qt::AlignHCenter | Qt::AlignTop,
                   text);
    };
    line(Words::tr("段級認定証"), 30, 32, true);
    line(c.name, 70, 22);
    line(Words::tr("%1　%2").arg(c.way, c.grade), 100, 28, true);
    line(Words::tr("上記の級に合格したことを認めます。"), 135, 13);
    const QString net = QString::number(std::lround(c.net));
    const QString accuracy = QString::number(std::floor(c.accuracy * 10) / 10, 'f', 1);
    line(Words::tr("正味 %1 字/分　正確さ %2%").arg(net, accuracy), 160, 14);
    line(c.date.toString(Qt::ISODate), 180, 13);
    line(Words::tr("テスト文 %1").arg(c.textId), 225, 9);
    line(QStringLiteral("Velotapper"), 235, 11);
    return p.end();
}
