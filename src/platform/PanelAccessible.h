#pragma once

class QObject;
class QAccessibleInterface;
class QString;

// What a screen reader reads of a TPanel: a panel holding other controls is a group;
// one that can be pressed is a button; any other is read-only text whose name is
// TPanel::readName and whose text is its caption.
// Made by the factory the first panel installs.
QAccessibleInterface* panelAccessible(const QString& className, QObject* object);
