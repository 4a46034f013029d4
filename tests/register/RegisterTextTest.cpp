// The one check of the texts the register keeps: the character of code 0 is refused in every
// text the user types, named as the user knows it, and so is every other control character
// (a line feed kept in notes) and a text too long.
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

// Every control character is refused in a name or label, by its code, and a line feed is kept
// only in a text of several lines; a name has at most 200 characters, any text at most 4000.
TEST(RegisterText, ControlCharactersAndOverlongTextsAreRefusedWithOneMessage)
{
    const struct {
        const char *what;
        QString text;
        const char *asName; // nameRefusal's message, "" when kept
        const char *asText; // textRefusal's
    } cases[] = {
        {"a tab", QStringLiteral("К-3\tось 5"), "Название не может содержать символ с кодом 9",
            "Название не может содержать символ с кодом 9"},
        {"a line feed", QStringLiteral("К-3\nось 5"), "Название не может содержать символ с кодом 10", ""},
        {"a carriage return", QStringLiteral("К-3\r"), "Название не может содержать символ с кодом 13",
            "Название не может содержать символ с кодом 13"},
        {"an escape sequence", QStringLiteral("\x1b[2JК-3"), "Название не может содержать символ с кодом 27",
            "Название не может содержать символ с кодом 27"},
        {"delete", QStringLiteral("К\x7f"), "Название не может содержать символ с кодом 127",
            "Название не может содержать символ с кодом 127"},
        {"a control character of the second range", QStringLiteral("К") + QChar(0x9B),
            "Название не может содержать символ с кодом 155", "Название не может содержать символ с кодом 155"},
        {"200 characters", QString(200, u'Ж'), "", ""},
        {"201 characters", QString(201, u'Ж'), "Название не может быть длиннее 200 знаков", ""},
        {"4001 characters", QString(4001, u'Ж'), "Название не может быть длиннее 200 знаков",
            "Название не может быть длиннее 4000 знаков"},
        {"quotes, a semicolon, a non-breaking space", QStringLiteral("«К-3»; ось\u00a05"), "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(nameRefusal(c.text, QStringLiteral("Название")), QString::fromUtf8(c.asName)) << c.what;
        EXPECT_EQ(textRefusal(c.text, QStringLiteral("Название")), QString::fromUtf8(c.asText)) << c.what;
    }
    // Where each applies: names and labels of one line, notes of several.
    EXPECT_EQ(textRefusal(RegisterObject {0, "Дом", "ул.\nЛенина", "", "", 0}),
        "Адрес не может содержать символ с кодом 10");
    EXPECT_EQ(textRefusal(RegisterObject {0, "Дом", "", "", "строка 1\nстрока 2", 0}), QString());
    EXPECT_EQ(textRefusal(RegisterStructure {0, 1, "П-1", 2, "B30\t", {}, "", 0}),
        "Класс бетона не может содержать символ с кодом 9");
    EXPECT_EQ(siteRefusal(QStringLiteral("2\nа")), "Участок не может содержать символ с кодом 10");
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
