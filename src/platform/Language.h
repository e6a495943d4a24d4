#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// The program speaks Japanese, its texts' own language, unless the desktop asks for
// English.
enum class UiLanguage { Japanese, English };

// The language for an environment read through getenv: VELOTAPPER_LANG ("en" or "ja")
// when set, otherwise English when the desktop's message language (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG, the first one set, as gettext reads them) begins with "en".
UiLanguage chooseLanguage(const std::function<QString(const char*)>& getenv);
UiLanguage chooseLanguage();

// Installs on the application the translations of Qt's own dialogs and buttons for the
// language, and for English the program's own texts, looked up as velotapper_en.qm in
// programDirs in order. Returns the names of the files it loaded.
QStringList installTranslators(UiLanguage language, const QStringList& programDirs);

// Where the program's translations are: beside the program in a build tree, and in
// its share folder once installed.
QStringList programTranslationDirs();
