#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <functional>

namespace {

// "C", "POSIX" and "C.UTF-8" name no language.
bool isPlainLocale(const QString& value) {
    return value == u"C" || value == u"POSIX" || value.startsWith(u"C.");
}

QTranslator* load(const QString& name, const QStringList& dirs) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    for (const QString& dir : dirs)
        if (translator->load(name, dir)) {
            QCoreApplication::installTranslator(translator);
            return translator;
        }
    delete translator;
    return nullptr;
}

} // namespace

UiLanguage chooseLanguage(const std::function<QString(const char*)>& getenv) {
    const QString forced = getenv("VELOTAPPER_LANG");
    if (forced.startsWith(u"en")) return UiLanguage::English;
    if (forced.startsWith(u"ja")) return UiLanguage::Japanese;
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = getenv(name);
        if (!locale.isEmpty()) break;
    }
    QString language = locale;
    // gettext lets LANGUAGE, a list of preferences, override the locale unless that
    // locale is the plain one.
    const QString preferred = getenv("LANGUAGE").section(u':', 0, 0);
    if (!preferred.isEmpty() && !locale.isEmpty() && !isPlainLocale(locale)) language = preferred;
    return language.startsWith(u"en") ? UiLanguage::English : UiLanguage::Japanese;
}

UiLanguage chooseLanguage() {
    return chooseLanguage([](const char* name) { return qEnvironmentVariable(name); });
}

QStringList installTranslators(UiLanguage language, const QStringList& programDirs) {
    QStringList loaded;
    // Qt's own texts are English already; Japanese ones make its dialogs match the
    // program.
    if (language == UiLanguage::Japanese) {
        if (QTranslator* t = load(QStringLiteral("qtbase_ja"),
                                  {QLibraryInfo::path(QLibraryInfo::TranslationsPath)}))
            loaded << t->filePath();
    } else if (QTranslator* t = load(QStringLiteral("velotapper_en"), programDirs)) {
        loaded << t->filePath();
    }
    return loaded;
}

QStringList programTranslationDirs() {
    const QString dir = QCoreApplication::applicationDirPath();
    return {dir + QStringLiteral("/translations"),
            dir + QStringLiteral("/../share/velotapper/translations")};
}
