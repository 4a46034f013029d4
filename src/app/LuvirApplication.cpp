#include "LuvirApplication.h"

#include "UserDialogs.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace luvir {

LuvirApplication::LuvirApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("luvir"));
    setApplicationVersion(QStringLiteral(LUVIR_VERSION));
}

bool LuvirApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportException(activeWindow(), std::current_exception());
        return false;
    }
}

void LuvirApplication::installRussianTranslations()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *catalog : {"qtbase_ru", "qt_ru"}) {
        auto *translator = new QTranslator(this);
        if (translator->load(QLatin1String(catalog), folder))
            installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace luvir
