#include "DesignTable.h"

#include "ExposeRepaint.h"
#include "TitleStrip.h"

#include <QDialog>
#include <QLabel>
#include <QScreen>

TPanel* makePanel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                  const PanelLook& look) {
    auto* p = new TPanel(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setGeometry(geometry);
    p->setCaption(caption);
    p->setBevelInner(look.inner);
    p->setBevelOuter(look.outer);
    p->setBevelWidth(look.bevelWidth);
    p->setBorderWidth(look.borderWidth);
    p->setBorderStyle(look.border);
    p->setColor(look.color);
    p->setFontColor(look.fontColor);
    if (!look.fontFamily.isEmpty())
        p->setFont(designFont(look.fontFamily, look.fontHeight, look.bold));
    return p;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                  TColor fontColor, const QFont* font) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    if (font) l->setFont(*font);
    if (fontColor != clWindowText) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, toQColor(fontColor));
        l->setPalette(pal);
    }
    // Labels size themselves to their text, as the designs' auto-sized labels do: the
    // substituted fonts run a little wider than the ones the designs were measured with.
    QRect g = geometry;
    const QSize hint = l->sizeHint();
    if (g.height() == 0) g.setHeight(hint.height());
    g.setWidth(qMax(g.width(), hint.width()));
    l->setGeometry(g);
    return l;
}

void setUpFixedDialog(QDialog* dialog, const char* name, const QString& caption,
                      const QSize& clientSize) {
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    dialog->setFixedSize(clientSize);
    dialog->setFont(designFont(kPGothic, 12));
    repaintWholeOnExpose(dialog);
    ownTitleBarOnWayland(dialog);
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* s = window->screen())
        window->move(s->availableGeometry().center() - window->rect().center());
}
