#pragma once
#include "Platform.h"

#include <QElapsedTimer>

// The desktop's own services through Qt.
class QtPlatform : public Platform {
public:
    QtPlatform();
    void messageBox(QWidget* parent, const QString& text) override;
    int execDialog(QDialog* dialog) override;
    QString openFile(QWidget* parent, const QString& filter, bool moveWorkingFolder) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& suggestedName) override;
    bool confirm(QWidget* parent, const QString& text) override;
    std::optional<TColor> pickColor(QWidget* parent, TColor initial) override;
    qint64 clockMs() override;
    qint64 calendarSeconds() override;
    qint64 calendarMs() override;
    void seedRandom(quint32 seed) override;
    int random() override;
    void waitEvents(qint64 deadlineMs) override;

private:
    QElapsedTimer clock_;
    quint32 seed_ = 1;
};
