#include "CliText.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace luvir::cli {

namespace {

void installTranslation(QCoreApplication &app, const QLocale &locale, const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(locale, name, QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void installCliTranslations(QCoreApplication &app, const QLocale &locale)
{
    installTranslation(app, locale, QStringLiteral("luvir-cli"), QStringLiteral(":/i18n"));
    installTranslation(app, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace luvir::cli
