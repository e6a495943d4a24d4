#pragma once
#include <QPlainTextEdit>
#include <functional>

// The one-line read-only text pane. Every key event goes to the owner's handler
// before the pane sees it; the pane acts only on the key the handler leaves
// (a Down arrow shows the caret's next line). No input method, and a mouse press never
// moves the caret.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);

    // Returns the key the pane should act on: 0 for none, 40 for Down.
    std::function<int(QKeyEvent*)> onKeyDown;
    std::function<void(QKeyEvent*)> onKeyUp;

    // Replaces the text and shows its first line. Hides the base class's: a text
    // edit keeps its scroll position through a new text, and a one-line view left
    // below a shorter text shows nothing.
    void setPlainText(const QString& text);

    void setCaret(int position);
    int caret() const;
    // The pane's answer to a Down arrow left by the handler at a line end.
    void followCaret();

    // A second mark, a box with a heavy underline, on the character the pace has reached;
    // -1 for none. It shows on the caret's line: a pace on a line before or after it
    // stands at that line's start or end, so the view never leaves the caret.
    void setPaceMark(int position);
    int paceMark() const { return paceMark_; }
    // Where the mark is drawn in the view; empty when none.
    QRect paceMarkRect() const;

    // Declines every input method: one would swallow the practice keys.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    // Ends the view under the first line, so no part of the next one shows.
    void fitViewportToOneLine();

    int paceMark_ = -1;
    QRect paceDrawn_; // what the last paint of the mark covered
};
