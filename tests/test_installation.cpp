#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <optional>

#include "ErrorReport.h"
#include "Installation.h"
#include "Layout.h"
#include "ModelFakes.h"

using namespace revlane;

// What a folder holds, what the remembered settings mean, and how the layout follows the window.
class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void browse_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("found");  // -1 none, else the Game
        QTest::newRow("gta-vc.exe") << QStringList{"gta-vc.exe"} << int(Game::ViceCity);
        QTest::newRow("both") << QStringList{"gta-vc.exe", "gta3.exe"} << int(Game::Gta3);
        // Only existence is tested, as for the remembered executable at start-up.
        QTest::newRow("folder named gta3.exe") << QStringList{"gta3.exe/"} << int(Game::Gta3);
        QTest::newRow("executables only in data") << QStringList{"data/gta3.exe", "data/gta-vc.exe"} << -1;
    }
    void browse()
    {
        QFETCH(QStringList, names);
        QFETCH(int, found);
        QTemporaryDir dir;
        const QString root = dir.path() + "/GTA Install, \u00fc";
        QVERIFY(QDir().mkpath(root + "/data"));
        for (const QString& name : names) {  // a name ending in "/" is made a folder
            QFile file(root + "/" + name);
            QVERIFY(name.endsWith('/') ? QDir().mkpath(file.fileName()) : file.open(QIODevice::WriteOnly));
        }
        test::FakeMessages messages;
        // An empty folder text would name the current folder, which must never count.
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(root));
        const bool foundInCurrent = Installation().Browse({}, StdFileSystem(), messages).has_value();
        QDir::setCurrent(previous);
        QVERIFY(!foundInCurrent);
        messages.shown.clear();
        // Both games were set up elsewhere before, the other game chosen, so that every change shows.
        const auto stateOf = [](const Installation& i) {
            return std::vector<std::filesystem::path>{i.ViceMode ? "vice" : "gta3", i.Gta3Path, i.Gta3Exe, i.VicePath, i.ViceExe};
        };
        Installation inst{found != int(Game::ViceCity), "/old/gta3", "/old/gta3/gta3.exe", "/old/vc", "/old/vc/gta-vc.exe", {}, {}};
        std::vector<std::filesystem::path> expected = stateOf(inst);
        const std::filesystem::path folder = test::FsPath(root);
        const std::optional<FoundInstallation> result = inst.Browse(folder, StdFileSystem(), messages);
        QCOMPARE(result ? int(result->game) : -1, found);
        QCOMPARE(messages.shown.size(), size_t(result ? 0 : 1));
        // Only the found game's folder and executable change, and the choice of game.
        if (result) {
            const bool vice = result->game == Game::ViceCity;
            expected[0] = vice ? "vice" : "gta3";
            expected[vice ? 3 : 1] = folder;
            expected[vice ? 4 : 2] = folder / (vice ? "gta-vc.exe" : "gta3.exe");
            QVERIFY(inst.ChosenGameInstalled(StdFileSystem()));
            inst.SetUpFiles();
            QCOMPARE(inst.HandlingFile, folder / "data" / "handling.cfg");
            // The remembered executable gone, its folder still there: only the executable counts.
            QVERIFY(std::filesystem::remove(inst.ChosenExe()));
            QVERIFY(!inst.ChosenGameInstalled(StdFileSystem()));
        }
        QCOMPARE(stateOf(inst), expected);
    }

    // The remembered window state: its leading number, rounded, a tie to the even one; anything
    // but 0, 1 or 2 is refused with a report that quotes the text, cut short. And the game:
    // exactly "GTA3" or "ViceCity"; what shutdown writes reads back.
    void rememberedValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("state");  // -1: not a window state
        QTest::newRow("absent") << "" << 0;
        QTest::newRow("tie to even 1.5") << "1.5" << 2;
        QTest::newRow("tie to even 2.5") << "2.5" << 2;
        QTest::newRow("blanks before, comma after") << " \t1,9" << 1;
        QTest::newRow("exponent") << "1e0x" << 1;
        QTest::newRow("3") << "3" << -1;
        QTest::newRow("-1") << "-1" << -1;
        QTest::newRow("too large for a double") << QString(400, '9') << -1;
    }
    void rememberedValues()
    {
        QFETCH(QString, text);
        QFETCH(int, state);
        try {
            QCOMPARE(int(ParseWindowState(text.toStdString())), state);
            QCOMPARE(ParseWindowState(WindowStateText(WindowState(state))), WindowState(state));
        } catch (const ModelError& e) {
            QCOMPARE(state, -1);
            QCOMPARE(e.Code(), errorcode::InvalidWindowState);
            QVERIFY2(std::string(e.what()).find("'" + text.left(40).toStdString()) != std::string::npos, e.what());
            QVERIFY2(std::string(e.what()).size() < 150, e.what());
        }
        for (const char* other : {"gta3", "Vice City", "GTA3 ", ""})
            QVERIFY2(!ParseLastUsed(other), other);
        QCOMPARE(ParseLastUsed(LastUsedText(true)), std::optional<Game>(Game::ViceCity));
        QCOMPARE(ParseLastUsed(LastUsedText(Installation{}.ViceMode)), std::optional<Game>(Game::Gta3));
    }

    // However small the window, nothing turns negative or overflows; a minimized one keeps its layout.
    void layout()
    {
        const std::optional<LayoutPass> p = LayOut(INT_MIN, INT_MIN, false);
        QCOMPARE((QList<int>{p->gridWidth, p->gridHeight, p->bottomTop, p->separatorRight}), (QList<int>{0, 0, 1750, 120}));
        QVERIFY(!LayOut(9240, 7125, true));
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "test_installation.moc"
