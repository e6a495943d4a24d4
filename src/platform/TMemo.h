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

    // Declines every input method: one would swallow the practice keys.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Ends the view under the first line, so no part of the next one shows.
    void fitViewportToOneLine();
};
