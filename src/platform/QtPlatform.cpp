#include "QtPlatform.h"

#include "SettledHide.h"
#include "TitleStrip.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

QtPlatform::QtPlatform() {
    clock_.start();
}

void QtPlatform::messageBox(QWidget* parent, const QString& text) {
    SettledHide<QMessageBox> box(QMessageBox::NoIcon, appTitle(), text, QMessageBox::Ok, parent);
    ownTitleBarOnWayland(&box);
    box.exec();
}

int QtPlatform::execDialog(QDialog* dialog) {
    return dialog->exec();
}

QString QtPlatform::openFile(QWidget* parent, const QString& filter, bool moveWorkingFolder) {
    SettledHide<QFileDialog> dialog(parent, QString(), QDir::currentPath(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path =
        dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    if (!path.isEmpty() && moveWorkingFolder) QDir::setCurrent(QFileInfo(path).absolutePath());
    return path;
}

QString QtPlatform::saveFile(QWidget* parent, const QString& filter, const QString& suggestedName) {
    SettledHide<QFileDialog> dialog(parent, QString(), QDir::current().filePath(suggestedName),
                                    filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

bool QtPlatform::confirm(QWidget* parent, const QString& text) {
    SettledHide<QMessageBox> box(QMessageBox::Question, appTitle(), text,
                                 QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    ownTitleBarOnWayland(&box);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPlatform::askText(QWidget* parent, const QString& prompt,
                                           const QString& initial) {
    SettledHide<QInputDialog> dialog(parent);
    dialog.setWindowTitle(appTitle());
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    ownTitleBarOnWayland(&dialog);
    // A name may be typed in Japanese: this box keeps its input method.
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<TColor> QtPlatform::pickColor(QWidget* parent, TColor initial) {
    SettledHide<QColorDialog> dialog(toQColor(initial), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return fromQColor(dialog.selectedColor());
}

qint64 QtPlatform::clockMs() {
    return clock_.elapsed();
}

qint64 QtPlatform::calendarSeconds() {
    return QDateTime::currentSecsSinceEpoch();
}

qint64 QtPlatform::calendarMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

void QtPlatform::seedRandom(quint32 seed) {
    seed_ = seed;
}

int QtPlatform::random() {
    // The classic linear congruential generator with a 15-bit result.
    seed_ = seed_ * 1103515245u + 12345u;
    return int((seed_ >> 16) & 0x7FFF);
}

void QtPlatform::waitEvents(qint64 deadlineMs) {
    // A precise single-shot timer wakes the blocking pass at the deadline; until an
    // event or the deadline comes the thread sleeps in the event dispatcher.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    if (deadlineMs >= 0) {
        const qint64 left = deadlineMs - clockMs();
        if (left <= 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return;
        }
        QObject::connect(&wake, &QTimer::timeout, [] {});
        wake.start(int(qMin<qint64>(left, 1 << 30)));
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
