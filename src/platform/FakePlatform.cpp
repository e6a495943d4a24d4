#include "FakePlatform.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

void FakePlatform::messageBox(QWidget*, const QString& text) {
    messages << text;
    if (onMessage) onMessage(text);
}

int FakePlatform::execDialog(QDialog* dialog) {
    ++dialogsRun;
    dialog->setResult(0);
    dialog->show();
    if (onDialog) onDialog(dialog);
    const int r = dialog->result();
    dialog->hide();
    return r;
}

QString FakePlatform::openFile(QWidget*, const QString& filter, bool moveWorkingFolder) {
    fileFilters << filter;
    if (files.empty()) return {};
    const QString f = files.front();
    files.pop_front();
    if (!f.isEmpty() && moveWorkingFolder) QDir::setCurrent(QFileInfo(f).absolutePath());
    return f;
}

QString FakePlatform::saveFile(QWidget*, const QString& filter, const QString& suggestedName) {
    fileFilters << filter;
    saveSuggestions << suggestedName;
    if (saveFiles.empty()) return {};
    const QString f = saveFiles.front();
    saveFiles.pop_front();
    return f;
}

bool FakePlatform::confirm(QWidget*, const QString& text) {
    questions << text;
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

std::optional<QString> FakePlatform::askText(QWidget*, const QString& prompt, const QString&) {
    textPrompts << prompt;
    if (texts.empty()) return std::nullopt;
    const std::optional<QString> t = texts.front();
    texts.pop_front();
    return t;
}

std::optional<TColor> FakePlatform::pickColor(QWidget*, TColor initial) {
    colorsOffered.push_back(initial);
    if (colors.empty()) return std::nullopt;
    const auto c = colors.front();
    colors.pop_front();
    return c;
}

int FakePlatform::random() {
    if (!randoms.empty()) {
        const int v = randoms.front();
        randoms.pop_front();
        return v & 0x7FFF;
    }
    state_ = state_ * 1103515245u + 12345u;
    return int((state_ >> 16) & 0x7FFF);
}

void FakePlatform::waitEvents(qint64 deadlineMs) {
    if (++waits > maxWaits) {
        std::fputs("FakePlatform: wait loop did not end\n", stderr);
        std::abort();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (onWait) onWait(deadlineMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (deadlineMs >= 0 && now < deadlineMs) now = deadlineMs;
}
