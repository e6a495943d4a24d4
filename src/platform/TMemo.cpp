#include "TMemo.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>

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
    document()->setDocumentMargin(1);
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
