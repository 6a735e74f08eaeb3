#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "ComparePort.h"
#include "Desk.h"

using namespace revlane;
using namespace revlane::test;

namespace {

// Answers with the file and the vehicles given, and remembers what it was asked.
struct ScriptedCompare : ui::ComparePort {
    QString file;
    std::vector<int> picks;
    QString start;
    QStringList names;
    std::optional<QString> PickFile(QWidget*, const QString&, const QString& from, const QString&) override
    {
        start = from;
        return file.isEmpty() ? std::nullopt : std::optional(file);
    }
    // None chosen cancels.
    std::optional<std::vector<int>> PickVehicles(QWidget*, const QString&, const QStringList& offered) override
    {
        names = offered;
        return picks.empty() ? std::nullopt : std::optional(picks);
    }
};

// The window started on the desk's settings, with the comparison's questions in the test's hands.
void Start(Desk& desk, ScriptedCompare& compare)
{
    desk.settings = std::make_unique<platform::Settings>(QSettings::IniFormat, desk.settingsFile);
    desk.w = std::make_unique<ui::MainWindow>(ui::MainWindow::Services{&desk.messages, &desk.errors, &desk.files, &desk.clock,
                                                                       desk.settings.get(), &desk.picker, &desk.launcher,
                                                                       &desk.numbers, &compare});
    desk.w->show();
    QVERIFY(QTest::qWaitForWindowActive(desk.w.get()));
}

QString Said(const Desk& desk)
{
    return desk.Find<QLabel>("lblStatus")->text();
}

void Keys(Desk& desk, const char* keys)
{
    QTest::keySequence(desk.Grid(), QKeySequence(QString::fromLatin1(keys)));
}

QString Current(const Desk& desk)
{
    return QString("%1,%2").arg(desk.Current().row()).arg(desk.Current().column());
}

bool Marked(const Desk& desk, int row, int col)
{
    return !desk.Index(row, col).data(Qt::DecorationRole).isNull();
}

}  // namespace

// A modder's session with the open file beside its backup, through the real window: the backup
// offered first, the differing values marked and gone round with Alt+Down and Alt+Up, values and
// a vehicle taken over, each one step for Ctrl+Z; Escape stops it, a save keeps it, a reload stops
// it, and what cannot be compared is said. The open file's rows: 0 LANDSTAL, 1 a title, 2 BIKE,
// 3 IDAHO; the backup's LANDSTAL has 2.5 where it has 2.0, its IDAHO a third value, and it holds
// NEWCAR, not BIKE.
class TestComparing : public QObject {
    Q_OBJECT
private slots:
    void session()
    {
        Desk desk;
        ScriptedCompare compare;
        const QString folder = desk.InstallChosen(Game::Gta3);
        const QString backup = Desk::DataFile(folder, "handling.cfg.bak");
        WriteBytes(backup, "LANDSTAL 1700 2.5 5.0\r\nIDAHO 1600.0 2.2 9\r\nNEWCAR 1 2 3\r\n");
        Start(desk, compare);
        desk.Open(FileKind::HandlingCfg);
        const std::vector<std::string> read = desk.w->File().Lines();

        compare.file = backup;
        desk.Select(0, 1);
        Keys(desk, "Ctrl+Shift+D");
        QCOMPARE(compare.start, backup);
        QCOMPARE(Said(desk), "Compared with handling.cfg.bak: 2 values differ in 2 vehicles; 1 vehicle only there; 1 only here");
        // 1700 is 1700.0; the mark is beside the value, its other value in the description.
        QVERIFY(Marked(desk, 0, 2) && !Marked(desk, 0, 1));
        QVERIFY(desk.Index(3, 3).data(Qt::AccessibleDescriptionRole).toString().endsWith("\nIn handling.cfg.bak: 9"));
        for (const char* step : {"Alt+Down 0,2", "Alt+Down 3,3", "Alt+Down 0,2", "Alt+Up 3,3"}) {
            Keys(desk, QByteArray(step).split(' ')[0].constData());
            QCOMPARE(Current(desk), QString(step).section(' ', 1));
        }

        Keys(desk, "Ctrl+Shift+T");
        QCOMPARE(desk.CellText(3, 3), "9");
        QCOMPARE(Said(desk), "1 value taken from handling.cfg.bak.");
        QVERIFY(!Marked(desk, 3, 3) && Marked(desk, 0, 2));
        Keys(desk, "Ctrl+Z");
        QCOMPARE(Said(desk), "Undone: Take 1 value from handling.cfg.bak");
        QVERIFY(desk.w->File().Lines() == read && Marked(desk, 3, 3));

        desk.w->findChild<QAction*>("mnuTakeVehicles")->trigger();  // cancelled
        QCOMPARE(compare.names, QStringList({"NEWCAR"}));
        QVERIFY(desk.w->File().Lines() == read && !desk.Modified());
        compare.picks = {0};
        desk.w->findChild<QAction*>("mnuTakeVehicles")->trigger();
        QCOMPARE(desk.Grid()->model()->rowCount(), 5);
        QCOMPARE(Current(desk), "4,1");
        QCOMPARE(desk.LineOf(4), "NEWCAR 1 2 3");
        QCOMPARE(Said(desk), "NEWCAR taken from handling.cfg.bak, at the end of its kind's records.");
        Keys(desk, "Ctrl+Z");
        QCOMPARE(Said(desk), "Undone: Take NEWCAR from handling.cfg.bak");
        QVERIFY(desk.w->File().Lines() == read && !desk.Modified());
        QCOMPARE(desk.Grid()->model()->rowCount(), 4);

        // A save keeps the comparison: the other file did not change.
        desk.Select(0, 2);
        Keys(desk, "Ctrl+Shift+T");
        Keys(desk, "Ctrl+S");
        QVERIFY(ReadBytes(Desk::DataFile(folder, "handling.cfg")).contains("\r\nLANDSTAL       1700.0 2.5 5.0 "));
        QVERIFY(desk.w->findChild<QAction*>("mnuNextDifference")->isEnabled() && Marked(desk, 3, 3));

        // Escape stops it; then Escape opens the cell's editor again.
        Keys(desk, "Escape");
        QCOMPARE(Said(desk), "Stopped comparing with handling.cfg.bak.");
        QVERIFY(!Marked(desk, 3, 3) && !desk.w->findChild<QAction*>("mnuTakeValues")->isEnabled());
        Keys(desk, "Escape");
        QVERIFY(desk.Editor());
        QTest::keyClick(desk.Editor(), Qt::Key_Escape);

        // A reload stops it too.
        Keys(desk, "Ctrl+Shift+D");
        QVERIFY(Marked(desk, 3, 3));
        desk.Click("cmdReload");
        QVERIFY(!Marked(desk, 3, 3) && !desk.w->findChild<QAction*>("mnuNextDifference")->isEnabled());

        // What cannot be compared is said, and nothing is compared.
        compare.file = Desk::DataFile(folder, "handling.cfg");
        Keys(desk, "Ctrl+Shift+D");
        QCOMPARE(Said(desk), "handling.cfg is the open file itself: nothing was compared.");
        compare.file = Desk::DataFile(folder, "default.ide");
        Keys(desk, "Ctrl+Shift+D");
        QCOMPARE(Said(desk), "default.ide is a default.ide, not a handling.cfg: nothing was compared.");
        QVERIFY(!desk.w->findChild<QAction*>("mnuTakeValues")->isEnabled());
    }
};

QTEST_MAIN(TestComparing)
#include "test_comparing.moc"
