// The register window on a real register file: the tree and its counts, the rows with the
// main table's texts (the reviewed table of a sample), the filters, and the commands, each
// read back from the file through the library.
#include "RegisterFixture.h"

#include "ArchiveFile.h"
#include "CellText.h"
#include "RegisterMeasurementModel.h"
#include "RegisterNodeDialog.h"
#include "RegisterWindow.h"
#include "ScriptedDialogs.h"

#include <QCheckBox>
#include <QTimer>

#include <functional>
#include <QLineEdit>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTreeWidget>

using namespace luvir;
using namespace luvir::test;

namespace {

QList<RegisterId> ids(const QList<RegisterMeasurement> &measurements)
{
    QList<RegisterId> result;
    for (const RegisterMeasurement &m : measurements)
        result << m.id;
    return result;
}

class RegisterWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(dir.filePath("register.sqlite")), Register::OpenStatus::Ok);
        ArchiveImage image;
        ArchiveReader reader;
        ASSERT_EQ(reader.read(testDataPath("seven-cells.db"), image), ArchiveReader::Status::Ok);
        RegisterSource source;
        source.kind = RegisterSource::Kind::File;
        source.fileName = testDataPath("seven-cells.db");
        source.addedAt = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells(cellsOf(image.archive), source, counts));
        ASSERT_EQ(counts.added, 7);
        object = reg.addObject({0, "Дом 5", {}, {}, {}});
        structure = reg.addStructure({0, object, "Колонна К-3, ось 5/Б", -1, {}, {}, {}});
        window.setRegister(&reg);
    }

    // The reviewed table of the sample under this locale's separator: seven texts a row.
    static QList<QStringList> reviewedRows()
    {
        const QString name = systemDecimalSeparator() == "," ? "seven-cells.table.ru_RU.txt" : "seven-cells.table.C.txt";
        QList<QStringList> rows;
        const QStringList lines = QString::fromUtf8(fileBytes(testDataPath(name))).split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i)
            if (!lines[i].isEmpty())
                rows << lines[i].split('\t').mid(0, 7);
        return rows;
    }

    QStringList rowTexts(int row) const
    {
        QStringList texts;
        const QAbstractItemModel *shown = window.Table->model();
        for (int column = 0; column < shown->columnCount(); ++column)
            texts << shown->index(row, column).data().toString();
        return texts;
    }

    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    Register reg;
    RegisterId object = 0;
    RegisterId structure = 0;
    RegisterWindow window;
};

} // namespace

TEST_F(RegisterWindowTest, TheTreeCountsAndTheRowsShowTheMainTablesTexts)
{
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (7)");
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Object, object), "Дом 5 (0)");
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Structure, structure), "Колонна К-3, ось 5/Б (0)");
    EXPECT_EQ(window.selectedKind(), RegisterWindow::NodeKind::Unassigned);

    const QList<QStringList> reviewed = reviewedRows();
    ASSERT_EQ(window.Table->model()->rowCount(), reviewed.size());
    for (int row = 0; row < reviewed.size(); ++row) {
        const QStringList texts = rowTexts(row);
        EXPECT_EQ(texts.mid(0, 7), reviewed[row]) << row;
        EXPECT_EQ(texts[RegisterMeasurementModel::kSiteColumn], "");
        EXPECT_EQ(texts[RegisterMeasurementModel::kSourceColumn], "seven-cells.db");
    }
    // What an earlier run added is not shown as if new; an addition of this run is, whole.
    EXPECT_EQ(window.AdditionLabel->text(), "");
    window.showAddition("Журнал: добавлено 1005, уже были 3");
    window.refresh();
    EXPECT_EQ(window.AdditionLabel->text(), "Журнал: добавлено 1005, уже были 3");
    window.setRegister(nullptr);
    EXPECT_EQ(window.AdditionLabel->text(), "Журнал не открыт.");
}

// Assigned, given a site, taken out and removed: each change is in the file, and the tree
// counts follow.
TEST_F(RegisterWindowTest, AssignSiteUnassignAndRemoveReachTheRegister)
{
    window.selectRows({0, 2});
    ASSERT_TRUE(window.assignSelected(structure));
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (5)");
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Object, object), "Дом 5 (2)");
    EXPECT_EQ(reg.measurements(MeasurementSelection::ofStructure(structure)).size(), 2);

    window.selectNode(RegisterWindow::NodeKind::Structure, structure);
    ASSERT_EQ(window.Table->model()->rowCount(), 2);
    const QModelIndex site = window.Table->model()->index(1, RegisterMeasurementModel::kSiteColumn);
    ASSERT_TRUE(window.Table->model()->setData(site, "2а"));
    const QList<RegisterMeasurement> inFile = reg.measurements(MeasurementSelection::ofStructure(structure));
    EXPECT_EQ(inFile[1].site, "2а");
    EXPECT_EQ(inFile[0].site, "");

    window.selectRows({0});
    ASSERT_TRUE(window.unassignSelected());
    EXPECT_EQ(reg.measurements(MeasurementSelection::ofStructure(structure)).size(), 1);
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (6)");

    // Removing asks; Cancel keeps them, OK marks them removed.
    window.selectNode(RegisterWindow::NodeKind::Unassigned);
    window.selectRows({0, 1});
    EXPECT_FALSE(window.removeSelected());
    EXPECT_EQ(reg.measurements(MeasurementSelection::unassigned()).size(), 6);
    dialogs.questionAnswers << true;
    window.selectRows({0, 1});
    ASSERT_TRUE(window.removeSelected());
    EXPECT_EQ(dialogs.texts(ShownDialog::Question).size(), 2);
    EXPECT_EQ(reg.measurements(MeasurementSelection::unassigned()).size(), 4);
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (4)");
}

// Deleting a structure that holds measurements asks, and returns them to "Не распределены";
// no measurement goes. Renames reach the file.
TEST_F(RegisterWindowTest, DeletingAStructureAsksAndKeepsItsMeasurements)
{
    window.selectRows({0, 1, 2});
    ASSERT_TRUE(window.assignSelected(structure));
    window.selectNode(RegisterWindow::NodeKind::Structure, structure);
    ASSERT_TRUE(window.renameSelectedNode("Колонна К-4"));
    EXPECT_EQ(reg.structure(structure)->name, "Колонна К-4");

    EXPECT_FALSE(window.deleteSelectedNode()); // Cancel
    EXPECT_TRUE(reg.structure(structure).has_value());
    dialogs.questionAnswers << true;
    ASSERT_TRUE(window.deleteSelectedNode());
    EXPECT_FALSE(reg.structure(structure).has_value());
    EXPECT_EQ(reg.measurements(MeasurementSelection::unassigned()).size(), 7);
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (7)");
}

TEST_F(RegisterWindowTest, FiltersByDateAndKind)
{
    const QList<QStringList> reviewed = reviewedRows();
    // One day of the sample: the rows of the reviewed table dated that day.
    const QString day = reviewed[1][1].left(10);
    int expected = 0;
    for (const QStringList &row : reviewed)
        expected += row[1].startsWith(day);
    window.FromDate->setDate(QDate::fromString(day, "dd.MM.yyyy"));
    window.ToDate->setDate(QDate::fromString(day, "dd.MM.yyyy"));
    window.FromOn->setChecked(true);
    window.ToOn->setChecked(true);
    EXPECT_EQ(window.Table->model()->rowCount(), expected);
    for (int row = 0; row < window.Table->model()->rowCount(); ++row)
        EXPECT_TRUE(rowTexts(row)[1].startsWith(day));

    window.FromOn->setChecked(false);
    window.ToOn->setChecked(false);
    const QString kind = reviewed[0][2];
    window.KindFilter->setCurrentText(kind);
    int ofKind = 0;
    for (const QStringList &row : reviewed)
        ofKind += row[2] == kind;
    EXPECT_EQ(window.Table->model()->rowCount(), ofKind);
}

// "Открыть в таблице" hands over the selected measurements in time order, with their cells.
TEST_F(RegisterWindowTest, OpenInTableHandsOverTheSelectionInTimeOrder)
{
    QSignalSpy opened(&window, &RegisterWindow::openInTable);
    window.Table->sortByColumn(RegisterMeasurementModel::kSourceColumn - 2, Qt::DescendingOrder); // another order
    window.selectRows({0, 3, 5});
    window.openSelectedInTable();
    ASSERT_EQ(opened.size(), 1);
    const auto handed = opened.first().first().value<QList<Measurement>>();
    ASSERT_EQ(handed.size(), 3);
    const QList<RegisterMeasurement> all = reg.measurements(MeasurementSelection::all()); // time order
    QList<ArchiveCell> timeOrder;
    for (const RegisterMeasurement &m : all)
        timeOrder << m.cell;
    for (int i = 1; i < handed.size(); ++i)
        EXPECT_LT(timeOrder.indexOf(handed[i - 1].cell), timeOrder.indexOf(handed[i].cell));
}

// A protocol is asked for the selected structure, or for the selected object's structures
// that hold measurements; none without measurements, and none for "Не распределены".
TEST_F(RegisterWindowTest, AProtocolIsAskedForTheStructuresHoldingMeasurements)
{
    qRegisterMetaType<QList<RegisterId>>();
    QSignalSpy asked(&window, &RegisterWindow::protocolRequested);
    ScriptedDialogs dialogs;
    const RegisterId empty = reg.addStructure({0, object, "Балка Б-1", -1, {}, {}, {}});
    const RegisterId slab = reg.addStructure({0, object, "Плита П-1", -1, {}, {}, {}});
    const QList<RegisterId> all = ids(reg.measurements(MeasurementSelection::all()));
    ASSERT_TRUE(reg.assign(all.mid(0, 2), structure));
    ASSERT_TRUE(reg.assign(all.mid(2, 1), slab));
    window.refresh();

    window.selectNode(RegisterWindow::NodeKind::Unassigned);
    EXPECT_FALSE(window.ProtocolAction->isEnabled());
    window.selectNode(RegisterWindow::NodeKind::Object, object);
    ASSERT_TRUE(window.ProtocolAction->isEnabled());
    window.ProtocolAction->trigger();
    window.selectNode(RegisterWindow::NodeKind::Structure, slab);
    window.ProtocolAction->trigger();
    window.selectNode(RegisterWindow::NodeKind::Structure, empty);
    window.ProtocolAction->trigger();

    ASSERT_EQ(asked.size(), 2);
    // The object's structures by name: "Колонна К-3, ось 5/Б", then "Плита П-1".
    EXPECT_EQ(asked.at(0).first().value<QList<RegisterId>>(), (QList<RegisterId> {structure, slab}));
    EXPECT_EQ(asked.at(1).first().value<QList<RegisterId>>(), QList<RegisterId> {slab});
    EXPECT_EQ(dialogs.messages(), QStringList {"В конструкции нет измерений: протокол не из чего составить."});
}

// "Свойства…" writes a structure's fields the protocol prints; a change another made while
// the dialog was open is not overwritten, and the user is told.
TEST_F(RegisterWindowTest, PropertiesOfAStructureReachTheRegisterUnlessChangedMeanwhile)
{
    ScriptedDialogs dialogs;
    window.refresh();
    window.selectNode(RegisterWindow::NodeKind::Structure, structure);
    auto fill = [&](bool changeMeanwhile) {
        QTimer::singleShot(0, [&, changeMeanwhile] {
            auto *dialog = qobject_cast<RegisterNodeDialog *>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no properties dialog";
                return;
            }
            dialog->findChild<QComboBox *>("kind")->setCurrentIndex(3); // колонна: code 2
            dialog->findChild<QLineEdit *>("class")->setText(" B25 ");
            dialog->findChild<QLineEdit *>("concreted")->setText("06.02.2026");
            if (changeMeanwhile) {
                RegisterStructure other = *reg.structure(structure);
                other.notes = "изменено другим";
                ASSERT_TRUE(reg.updateStructure(other));
            }
            dialog->accept();
        });
    };
    fill(false);
    ASSERT_TRUE(window.editSelectedNode());
    const RegisterStructure saved = *reg.structure(structure);
    EXPECT_EQ(saved.name, "Колонна К-3, ось 5/Б");
    EXPECT_EQ(saved.elementKind, 2);
    EXPECT_EQ(saved.designClass, "B25");
    EXPECT_EQ(saved.concretedOn, QDate(2026, 2, 6));
    EXPECT_TRUE(dialogs.shown.isEmpty());

    fill(true);
    EXPECT_FALSE(window.editSelectedNode());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().contains("запись изменена")) << qPrintable(dialogs.messages().first());
    EXPECT_EQ(reg.structure(structure)->notes, "изменено другим");

    // A concreting date after the structure's first test is refused where it is typed: the
    // dialog stays open, and nothing is written.
    QList<RegisterId> measured;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
        measured << m.id;
    ASSERT_TRUE(reg.assign(measured, structure));
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<RegisterNodeDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no properties dialog";
            return;
        }
        dialog->findChild<QLineEdit *>("concreted")->setText("01.01.2099");
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible()) << "the dialog closed on a date after the tests";
        dialog->reject();
    });
    EXPECT_FALSE(window.editSelectedNode());
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains("позже первого испытания")) << qPrintable(dialogs.errors().first());
    EXPECT_EQ(reg.structure(structure)->concretedOn, QDate(2026, 2, 6));
}

TEST_F(RegisterWindowTest, FitsASmallScreenAndStartsInTheTree)
{
    window.show();
    EXPECT_EQ(window.focusWidget(), window.Tree);
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window.frameGeometry())) << screen.width() << "x" << screen.height();
}

// № and the time sort as the rows were listed (the time order), also after another column's
// order, and the other way round when descending.
TEST_F(RegisterWindowTest, ByNumberOrTimeTheRowsComeBackInTheTimeOrder)
{
    const QList<RegisterId> timeOrder = ids(reg.measurements(MeasurementSelection::all()));
    QList<RegisterId> reversed(timeOrder.crbegin(), timeOrder.crend());
    for (int column : {0, 1})
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            SCOPED_TRACE(column);
            window.Table->sortByColumn(6, Qt::DescendingOrder); // another order first
            window.Table->sortByColumn(column, order);
            EXPECT_EQ(ids(window.listedMeasurements()), order == Qt::AscendingOrder ? timeOrder : reversed);
        }
}

// The table sorts from the measurement records: strength and Kc as the numbers stored,
// whatever the texts' decimal separator; equal values keep the time order.
TEST_F(RegisterWindowTest, SortsByTheStoredValuesNotByTheirTexts)
{
    struct Case {
        int column;
        std::function<int(const ArchiveCell &)> value;
    };
    const Case cases[] = {
        {6, [](const ArchiveCell &c) { return int(c.strengthWord()); }},
        {5, [](const ArchiveCell &c) { return int(c.byte(ArchiveCell::Kc)); }},
    };
    const QList<RegisterId> timeOrder = ids(reg.measurements(MeasurementSelection::all()));
    for (const Case &c : cases)
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            SCOPED_TRACE(c.column);
            window.Table->sortByColumn(c.column, order);
            const QList<RegisterMeasurement> listed = window.listedMeasurements();
            ASSERT_EQ(listed.size(), timeOrder.size());
            for (qsizetype i = 1; i < listed.size(); ++i) {
                const int before = c.value(listed[i - 1].cell);
                const int after = c.value(listed[i].cell);
                EXPECT_TRUE(order == Qt::AscendingOrder ? before <= after : before >= after) << i;
                if (before == after && order == Qt::AscendingOrder) {
                    EXPECT_LT(timeOrder.indexOf(listed[i - 1].id), timeOrder.indexOf(listed[i].id));
                }
            }
        }
}

// A register whose pages are damaged after it was opened: the window says so once, not at
// every reading again, lists nothing it could not read, and writes nothing, a new object
// included.
TEST(RegisterWindowReadTest, AFailedReadIsToldOnceAndNothingIsWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("register.sqlite");
    {
        Register maker;
        ASSERT_EQ(maker.open(path), Register::OpenStatus::Ok);
        RegisterSource source = fileSource("x.db");
        ImportCounts counts;
        ASSERT_TRUE(maker.importCells(distinctCells(0, 3000), source, counts));
    }
    Register reg;
    ASSERT_EQ(reg.open(path, Register::Opening::ExistingOnly), Register::OpenStatus::Ok)
        << qPrintable(reg.errorString());
    // The pages of a measurement in the middle (its row, its index entry), overwritten now that
    // the register is open: the opening did not read them.
    QByteArray bytes = fileBytes(path);
    const ArchiveCell middle = distinctCell(1500);
    const QByteArray blob(reinterpret_cast<const char *>(middle.bytes.data()), kCellSize);
    int pages = 0;
    for (qsizetype at = bytes.indexOf(blob); at >= 0; at = bytes.indexOf(blob, at + 1), ++pages)
        for (qsizetype i = at / 4096 * 4096; i < (at / 4096 + 1) * 4096; ++i)
            bytes[i] = static_cast<char>(0xA5);
    ASSERT_GT(pages, 0);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    const QByteArray damaged = fileBytes(path);
    const QByteArray log = fileBytes(path + "-wal");

    ScriptedDialogs dialogs;
    RegisterWindow window;
    window.setRegister(&reg);
    EXPECT_EQ(dialogs.messages(), QStringList {"Журнал не удалось прочитать: файл журнала повреждён."});
    EXPECT_TRUE(window.listedMeasurements().isEmpty());
    window.refresh();
    window.selectNode(RegisterWindow::NodeKind::Unassigned);
    EXPECT_EQ(dialogs.messages().size(), 1) << qPrintable(dialogs.messages().join('\n'));

    dialogs.clear();
    dialogs.textAnswers = {"Дом 5"}; // then the box again, cancelled
    window.NewObjectAction->trigger();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().contains("повреждён, в него ничего не записывается"))
        << qPrintable(dialogs.messages().first());
    EXPECT_EQ(fileBytes(path), damaged);
    EXPECT_EQ(fileBytes(path + "-wal"), log);
}
