// «Свойства…» of a structure: the date of concreting starts empty when not known, and a date
// after the structure's first test is refused before the dialog closes, naming both dates.
#include "RegisterNodeDialog.h"
#include "Register.h"
#include "ScriptedDialogs.h"
#include "TestData.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

class RegisterNodeDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(dir.filePath("register.sqlite")), Register::OpenStatus::Ok);
        const RegisterId object = reg.addObject({0, "Жилой дом № 3", {}, {}, {}});
        structure = reg.addStructure({0, object, "Колонна К-3", -1, {}, {}, {}});
        ArchiveCell cell = sampleCell(5);
        cell.bytes[ArchiveCell::Day] = 2;
        cell.bytes[ArchiveCell::Month] = 3;
        cell.bytes[ArchiveCell::Year] = 26;
        RegisterSource source;
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells({cell}, source, counts));
        ASSERT_TRUE(reg.assign({reg.measurements(MeasurementSelection::all()).first().id}, structure));
    }

    // Types `date` and presses OK; whether the dialog closed.
    static bool typeAndAccept(RegisterNodeDialog &dialog, const QString &date)
    {
        dialog.findChild<QLineEdit *>("concreted")->setText(date);
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        return dialog.result() == QDialog::Accepted && !dialog.isVisible();
    }

    QTemporaryDir dir;
    Register reg;
    RegisterId structure = 0;
};

TEST_F(RegisterNodeDialogTest, StartsWithoutADateAndRefusesOneAfterTheFirstTest)
{
    ScriptedDialogs dialogs;
    RegisterNodeDialog dialog(reg, *reg.structure(structure));
    dialog.show();
    EXPECT_EQ(dialog.findChild<QLineEdit *>("concreted")->text(), "");
    EXPECT_EQ(dialog.structure().concretedOn, QDate());

    EXPECT_FALSE(typeAndAccept(dialog, "15.10.2026"));
    EXPECT_FALSE(typeAndAccept(dialog, "31.02.2026"));
    EXPECT_EQ(dialogs.errors(),
        QStringList({"Дата бетонирования 15.10.2026 позже первого испытания конструкции 02.03.2026.",
            "Дата бетонирования: «31.02.2026» не является датой ДД.ММ.ГГГГ."}));
    EXPECT_EQ(reg.structure(structure)->concretedOn, QDate()); // nothing kept

    ASSERT_TRUE(typeAndAccept(dialog, "02.02.2026"));
    EXPECT_EQ(dialog.structure().concretedOn, QDate(2026, 2, 2));
    EXPECT_EQ(dialogs.errors().size(), 2);
}

// A date already kept is shown as it is; emptied, it is no longer known.
TEST_F(RegisterNodeDialogTest, AKeptDateIsShownAndMayBeEmptied)
{
    RegisterStructure s = *reg.structure(structure);
    s.concretedOn = QDate(2026, 2, 2);
    ASSERT_TRUE(reg.updateStructure(s));
    RegisterNodeDialog dialog(reg, *reg.structure(structure));
    dialog.show();
    EXPECT_EQ(dialog.findChild<QLineEdit *>("concreted")->text(), "02.02.2026");
    ASSERT_TRUE(typeAndAccept(dialog, " "));
    EXPECT_EQ(dialog.structure().concretedOn, QDate());
}

} // namespace
