#include "PanelAccessible.h"

#include "TPanel.h"

#include <QAccessibleWidget>

namespace {

class PanelInterface : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PanelInterface(TPanel* panel) : QAccessibleWidget(panel) {
        if (panel->pressable()) addControllingSignal(QStringLiteral("clicked()"));
    }

    static QAccessible::Role roleOf(const TPanel* panel) {
        if (panel->pressable()) return QAccessible::Button;
        for (const QObject* child : panel->children())
            if (child->isWidgetType()) return QAccessible::Grouping;
        return QAccessible::StaticText;
    }

    TPanel* panel() const { return static_cast<TPanel*>(widget()); }
    QAccessible::Role role() const override { return roleOf(panel()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return panel()->readName();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (role() == QAccessible::StaticText) s.readOnly = true;
        return s;
    }

    QStringList actionNames() const override {
        return panel()->pressable() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && panel()->pressable() && panel()->isEnabled())
            emit panel()->clicked();
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface && role() == QAccessible::StaticText)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Read-only text: the caption, no caret to move, nothing to select.
    QString text(int start, int end) const override {
        return panel()->caption().mid(start, end - start);
    }
    int characterCount() const override { return int(panel()->caption().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return QString();
    }
};

} // namespace

QAccessibleInterface* panelAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("TPanel") || !object || !object->isWidgetType()) return nullptr;
    return new PanelInterface(static_cast<TPanel*>(object));
}
