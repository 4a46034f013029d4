#pragma once
// The tool's own texts in the user's language. Every text is written in English in the
// code as LuvirCli::tr("…") (or QT_TRANSLATE_NOOP("LuvirCli", "…") in a table, translated
// where it is used); translations/luvir-cli_ru.ts holds the Russian, compiled into the
// tool. A new text: write it so, run the target luvir_cli_lupdate, translate it in the .ts
// file (Qt Linguist, or by hand), and rebuild.

#include <QCoreApplication>
#include <QLocale>

// The translation context of all the tool's texts.
struct LuvirCli {
    Q_DECLARE_TR_FUNCTIONS(LuvirCli)
};

namespace luvir::cli {

// Installs the tool's translation for `locale`'s languages, and Qt's own (its file errors and
// the like), from the folder Qt's translations are installed in. Under the C locale, or a
// language with no translation, nothing is installed and the tool speaks English.
void installCliTranslations(QCoreApplication &app, const QLocale &locale);

} // namespace luvir::cli
