#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLocale>
#include <QTest>

#include "Desk.h"
#include "StockLines.h"

using namespace revlane;
using namespace revlane::test;

namespace {

QByteArray StockRecord(Game game, const char* name)
{
    DefaultLines stock;
    stock.Load();
    return QByteArray::fromStdString(stock.HandlingLine(game, name).value_or("?")) + "\r\n";
}

QString Said(const Desk& desk, const char* label)
{
    return desk.Find<QLabel>(label)->text();
}

}  // namespace

// What the game would trip on, as a modder meets it in the window: the marked cells and their
// sentences, the count above the grid, F8 and Shift+F8 from one to the next, and the question
// before a save that would give the game a handling.cfg it reads past its limits.
class TestGameWindow : public QObject {
    Q_OBJECT
private slots:
    // A car added to Vice City's default.ide: its model id is past the game's, and handling.cfg has
    // no record for the handling identifier it names.
    void addedCar()
    {
        Desk desk;
        desk.Ready(FileKind::DefaultIde, Game::ViceCity,
                   "cars\r\n130, landstal, landstal, car, LANDSTAL, LANDSTK, null, normal, 10, 7, 0, 254, 0.8\r\n"
                   "237, mycar, mycar, car, MYCAR, MYCAR, null, normal, 10, 7, 0, 250, 0.7\r\nend\r\n",
                   StockRecord(Game::ViceCity, "LANDSTAL") + ";the end\r\n");
        QCOMPARE(Said(desk, "lblProcessed"), QString("2 problems the game may trip on: F8 goes to the next"));
        QVERIFY(desk.Index(1, 4).data(Qt::ForegroundRole).isValid() && !desk.Index(1, 3).data(Qt::ForegroundRole).isValid());
        QCOMPARE(desk.Index(1, 4).data(Qt::AccessibleDescriptionRole).toString(),
                 QString("handling.cfg has no record for MYCAR, so the game may crash at start."));
        const auto press = [&](Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(desk.Grid(), Qt::Key_F8, modifiers);
            return QString("%1,%2 %3").arg(desk.Current().row()).arg(desk.Current().column()).arg(Said(desk, "lblStatus").left(30));
        };
        desk.Select(0, 2);
        // The model id's finding is the row's key, which never becomes current: its first value does.
        QCOMPARE(press(Qt::NoModifier), QString("1,2 The game's vehicle ids run fro"));
        QCOMPARE(press(Qt::NoModifier), QString("1,4 handling.cfg has no record for"));
        QCOMPARE(press(Qt::NoModifier), QString("1,2 The game's vehicle ids run fro"));
        QCOMPARE(press(Qt::ShiftModifier), QString("1,4 handling.cfg has no record for"));
        desk.Edit(1, 4, "LANDSTAL");
        QTRY_COMPARE(Said(desk, "lblProcessed"), QString("1 problem the game may trip on: F8 goes to the next"));
        QVERIFY(desk.Index(1, 4).data(Qt::AccessibleDescriptionRole).toString().isEmpty());
    }

    // A file of more lines than the open checks is checked by the slices that follow, untouched:
    // its repeated records and its size are told without a key pressed.
    void largeFile()
    {
        Desk desk;
        desk.Ready(FileKind::HandlingCfg, Game::Gta3, kSmallIde, StockRecord(Game::Gta3, "LANDSTAL").repeated(5'000) + ";the end\r\n");
        QTRY_VERIFY(Said(desk, "lblProcessed").startsWith("The game reads at most 55,000 bytes of handling.cfg; this file is "));
        QTRY_VERIFY(Said(desk, "lblProcessed").endsWith(" 4,999 problems the game may trip on: F8 goes to the next"));
    }

    // handling.cfg grown past 55,000 bytes by a paste: Save asks first, No keeps the edits unsaved.
    void saveAsks()
    {
        QByteArray records;
        for (const char* name : {"LANDSTAL", "IDAHO", "STINGER", "PEREN"})
            records += StockRecord(Game::Gta3, name);
        QByteArray bytes = "; a\r\n; b\r\n" + records + ";the end\r\n";
        // 54,950 bytes, under the game's limit until the paste.
        bytes.insert(10, QByteArray(';' + QByteArray(180, 'x') + "\r\n").repeated((54'900 - bytes.size()) / 183));
        bytes.insert(10, ';' + QByteArray(54'950 - bytes.size() - 3, 'x') + "\r\n");
        Desk desk;
        const QString cfg = Desk::DataFile(desk.Ready(FileKind::HandlingCfg, Game::Gta3, kSmallIde, bytes), "handling.cfg");
        const QString help = Said(desk, "lblProcessed");
        QVERIFY(help.startsWith("Main file settings"));
        const QString mass = "1700." + QString(40, '0');
        QApplication::clipboard()->setText(QStringList(4, mass).join('\n'));
        desk.Select(0, 1);
        QTest::keySequence(desk.Grid(), QKeySequence::Paste);
        const QString said = "The game reads at most 55,000 bytes of handling.cfg; this file is ";
        QTRY_VERIFY(Said(desk, "lblProcessed").startsWith(said));
        QVERIFY(Said(desk, "lblStatus").startsWith("4 values pasted. " + said));  // told with the paste
        QTest::keySequence(desk.Grid(), QKeySequence::Undo);
        QTRY_COMPARE(Said(desk, "lblProcessed"), help);
        QTest::keySequence(desk.Grid(), QKeySequence("Ctrl+Y"));
        QTRY_VERIFY(Said(desk, "lblProcessed").startsWith(said));
        desk.messages.answers.push_back(MsgAnswer::No);
        desk.Click("cmdSave");
        const QStringList asked = desk.messages.Texts();
        QVERIFY2(asked.size() == 1 && asked[0].startsWith("The game reads at most 55,000 bytes of handling.cfg; this file would be ")
                     && asked[0].endsWith(" bytes. Save anyway?"), qPrintable(asked.join('\n')));
        QVERIFY(ReadBytes(cfg) == bytes && desk.Modified());
        desk.Click("cmdSave");  // Yes
        QCOMPARE(desk.messages.Texts().value(1), asked[0]);
        QVERIFY(!desk.Modified());
        const QString size = QLocale(QLocale::English).toString(ReadBytes(cfg).size()) + " bytes";
        QVERIFY(asked[0].contains(" be " + size + "."));
        QVERIFY(Said(desk, "lblProcessed").contains("this file is " + size));  // the header counts too
    }
};

QTEST_MAIN(TestGameWindow)
#include "test_gamewindow.moc"
