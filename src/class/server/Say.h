#pragma once
#include <QCoreApplication>
#include <string>
#include <vector>

// The command's messages, in the program's language: each text is marked where it is
// written with QT_TRANSLATE_NOOP("velotapper-class", ...) and translated here.
namespace classserver {

inline std::string say(const char* text, const std::vector<std::string>& args = {}) {
    QString s = QCoreApplication::translate("velotapper-class", text);
    for (const std::string& a : args) s = s.arg(QString::fromStdString(a));
    return s.toStdString();
}

} // namespace classserver
