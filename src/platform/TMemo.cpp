#include "TMemo.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QtMath>

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setTabChangesFocus(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setUndoRedoEnabled(false);
    // Read-only keeps a visible caret only with keyboard interaction enabled.
    setTextInteractionFlags(Qt::TextSelectableByKeyboard);
    // The pixel of room around the text lies outside the view rather than in the
    // document, so every line, the first or a later one, stands at the same place.
    document()->setDocumentMargin(0);
    // The strips around the view are the pane's own, in the colour of the text area.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    fitViewportToOneLine();
}

void TMemo::fitViewportToOneLine() {
    // A line of the pane is as tall as the font's ascent, descent and leading together.
    const QFontMetricsF fm(font());
    const int line = qCeil(fm.ascent() + fm.descent() + qMax(0.0, fm.leading()));
    const int room = 1;
    setViewportMargins(room, room, room, qMax(room, contentsRect().height() - room - line));
}

void TMemo::changeEvent(QEvent* e) {
    QPlainTextEdit::changeEvent(e);
    if (e->type() == QEvent::FontChange) fitViewportToOneLine();
}

void TMemo::resizeEvent(QResizeEvent* e) {
    fitViewportToOneLine();
    QPlainTextEdit::resizeEvent(e);
}

bool TMemo::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::ShortcutOverride:
        e->accept(); // every key belongs to the practice, none to a shortcut
        return true;
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (onKeyDown && onKeyDown(k) == 40) followCaret();
        return true;
    }
    case QEvent::KeyRelease:
        if (onKeyUp) onKeyUp(static_cast<QKeyEvent*>(e));
        return true;
    default:
        return QPlainTextEdit::event(e);
    }
}

QVariant TMemo::inputMethodQuery(Qt::InputMethodQuery query) const {
    // A text edit answers this itself, whatever its input-method attribute says.
    if (query == Qt::ImEnabled) return false;
    return QPlainTextEdit::inputMethodQuery(query);
}

void TMemo::setPlainText(const QString& text) {
    QPlainTextEdit::setPlainText(text);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void TMemo::setCaret(int position) {
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(c);
    ensureCursorVisible();
}

int TMemo::caret() const {
    return textCursor().position();
}

void TMemo::followCaret() {
    // The caret already stands at the start of the next line; bring that line into
    // the one-line view instead of stepping past it.
    centerCursor();
    ensureCursorVisible();
}

void TMemo::mousePressEvent(QMouseEvent* e) {
    e->accept();
}
void TMemo::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
}
void TMemo::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
}

QRect TMemo::paceMarkRect() const {
    if (paceMark_ < 0) return {};
    const QTextBlock line = textCursor().block();
    const int at = qBound(line.position(), paceMark_, line.position() + line.length() - 1);
    QTextCursor c(document());
    c.setPosition(at);
    const QRect r = cursorRect(c);
    const QChar ch = document()->characterAt(at);
    const QFontMetrics fm(font());
    const int w = fm.horizontalAdvance(ch.isPrint() ? ch : QLatin1Char(' '));
    return QRect(r.left(), r.top(), qMax(w, 4), r.height());
}

void TMemo::setPaceMark(int position) {
    // The rectangle, not the position, decides: the caret's line may have moved on.
    paceMark_ = position;
    const QRect next = paceMarkRect();
    if (next == paceDrawn_) return;
    // Only where the mark was and where it goes.
    for (const QRect& r : {paceDrawn_, next})
        if (!r.isEmpty()) viewport()->update(r.adjusted(-2, -2, 2, 2));
}

void TMemo::paintEvent(QPaintEvent* e) {
    QPlainTextEdit::paintEvent(e);
    paceDrawn_ = paceMarkRect();
    if (paceDrawn_.isEmpty()) return;
    QPainter p(viewport());
    const QColor ink(0xC0, 0x00, 0xC0);
    p.setPen(QPen(ink, 1));
    p.drawRect(paceDrawn_.adjusted(0, 0, -1, -1));
    p.fillRect(paceDrawn_.left(), paceDrawn_.bottom() - 2, paceDrawn_.width(), 3, ink);
}
