// The one check of the texts the register keeps: the character of code 0 is refused in every
// text the user types, named as the user knows it; any other text passes.
#include "RegisterText.h"

#include <gtest/gtest.h>

using namespace luvir;

namespace {

const QString kZero(QChar(u'\0'));

} // namespace

TEST(RegisterText, TheCharacterOfCodeZeroIsRefusedWhereverItIs)
{
    const struct {
        const char *what;
        QString text;
        bool refused;
    } cases[] = {
        {"an ordinary name", QStringLiteral("Колонна К-3, ось 5/Б"), false},
        {"empty", QString(), false},
        {"other control characters", QStringLiteral("a\tb\nc\u0001"), false},
        {"at the start", kZero + QStringLiteral("Дом"), true},
        {"inside", QStringLiteral("Дом") + kZero + QStringLiteral("5"), true},
        {"at the end", QStringLiteral("Дом 5") + kZero, true},
        {"alone", kZero, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(textRefusal(c.text, QStringLiteral("Название")),
            c.refused ? QStringLiteral("Название не может содержать символ с кодом 0") : QString())
            << c.what;
    }
}

TEST(RegisterText, AnObjectOrStructureIsRefusedByItsFirstTextThatCannotBeKept)
{
    const RegisterObject object {0, "Дом 5", "ул. Ленина, 1", "ООО «Стройка»", "", 0};
    const RegisterStructure structure {0, 1, "Плита П-1", 2, "B30", {}, "", 0};
    EXPECT_EQ(textRefusal(object), QString());
    EXPECT_EQ(textRefusal(structure), QString());
    EXPECT_EQ(siteRefusal(QStringLiteral("2а")), QString());

    const auto withZero = [](QString text) { return text.insert(1, QChar(u'\0')); };
    const struct {
        const char *what;
        QString refusal;
        const char *expected;
    } cases[] = {
        {"object's name", textRefusal(RegisterObject {0, withZero("Дом"), "", "", "", 0}),
            "Название не может содержать символ с кодом 0"},
        {"address", textRefusal(RegisterObject {0, "Дом", withZero("ул."), "", "", 0}),
            "Адрес не может содержать символ с кодом 0"},
        {"customer", textRefusal(RegisterObject {0, "Дом", "", withZero("ООО"), "", 0}),
            "Заказчик не может содержать символ с кодом 0"},
        {"object's notes, the name fine",
            textRefusal(RegisterObject {0, "Дом", "", "", withZero("см."), 0}),
            "Примечание не может содержать символ с кодом 0"},
        {"name and address: the name first",
            textRefusal(RegisterObject {0, withZero("Дом"), withZero("ул."), "", "", 0}),
            "Название не может содержать символ с кодом 0"},
        {"structure's name", textRefusal(RegisterStructure {0, 1, withZero("Плита"), 2, "B30", {}, "", 0}),
            "Название не может содержать символ с кодом 0"},
        {"concrete class", textRefusal(RegisterStructure {0, 1, "Плита", 2, withZero("B30"), {}, "", 0}),
            "Класс бетона не может содержать символ с кодом 0"},
        {"structure's notes", textRefusal(RegisterStructure {0, 1, "Плита", 2, "B30", {}, withZero("см."), 0}),
            "Примечание не может содержать символ с кодом 0"},
        {"site", siteRefusal(withZero("2а")), "Участок не может содержать символ с кодом 0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.refusal, QString::fromUtf8(c.expected)) << c.what;
}
