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
        const QString root = dir.path() + "/GTA Install, ü";
        QVERIFY(QDir().mkpath(root + "/data"));
        for (const QString& name : names) {  // a name ending in "/" is made a folder
            QFile file(root + "/" + name);
            QVERIFY(name.endsWith('/') ? QDir().mkpath(file.fileName()) : file.open(QIODevice::WriteOnly));
        }
        const std::filesystem::path folder = test::FsPath(root);
        test::FakeMessages messages;

        // An empty folder text would name the current folder, which must never count.
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(root));
        const bool foundInCurrent = Installation().Browse({}, StdFileSystem(), messages).has_value();
        QDir::setCurrent(previous);
        QVERIFY(!foundInCurrent);
        messages.shown.clear();

        // Both games were set up elsewhere before, the other game chosen, so that every change
        // shows; GTA III wins a folder with both, whichever game was chosen.
        const auto stateOf = [](const Installation& i) {
            return std::vector<std::filesystem::path>{i.ViceMode ? "vice" : "gta3", i.Gta3Path, i.Gta3Exe, i.VicePath,
                                                      i.ViceExe, i.DefaultFile, i.HandlingFile};
        };
        Installation inst{found != int(Game::ViceCity), "/old/gta3", "/old/gta3/gta3.exe", "/old/vc",
                          "/old/vc/gta-vc.exe", "/old/vc/data/default.ide", "/old/vc/data/handling.cfg"};
        std::vector<std::filesystem::path> expected = stateOf(inst);
        const std::optional<FoundInstallation> result = inst.Browse(folder, StdFileSystem(), messages);

        QCOMPARE(result ? int(result->game) : -1, found);
        QCOMPARE(messages.shown.size(), size_t(result ? 0 : 1));
        // Only the found game's folder and executable change, and the choice of game; the
        // files are set up later, by SetUpFiles. A folder without a game changes nothing.
        if (result) {
            const bool vice = result->game == Game::ViceCity;
            expected[0] = vice ? "vice" : "gta3";
            expected[vice ? 3 : 1] = folder;
            expected[vice ? 4 : 2] = folder / (vice ? "gta-vc.exe" : "gta3.exe");
        }
        QCOMPARE(stateOf(inst), expected);
        if (!result)
            return;
        QVERIFY(inst.ChosenGameInstalled(StdFileSystem()));
        // The remembered executable gone, its folder still there: only the executable counts.
        QVERIFY(std::filesystem::remove(inst.ChosenExe()));
        QVERIFY(!inst.ChosenGameInstalled(StdFileSystem()));
    }

    void pathsInARoot()
    {
        // A root ends in a separator already; no second one is added.
        QCOMPARE(QString::fromStdString(ExecutablePath("/", Game::Gta3).generic_string()), QString("/gta3.exe"));
        QCOMPARE(QString::fromStdString(HandlingFilePath("/").generic_string()), QString("/data/handling.cfg"));
    }

    void windowState_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("state");  // -1: not a window state
        QTest::newRow("absent") << "" << 0;
        QTest::newRow("tie to even 1.5") << "1.5" << 2;
        QTest::newRow("tie to even 2.5") << "2.5" << 2;
        QTest::newRow("blanks before, comma after") << "  1,9" << 1;
        QTest::newRow("3") << "3" << -1;
        QTest::newRow("-1") << "-1" << -1;
        QTest::newRow("too large for a double") << QString(400, '9') << -1;
    }
    void windowState()
    {
        QFETCH(QString, text);
        QFETCH(int, state);
        try {
            QCOMPARE(int(ParseWindowState(text.toStdString())), state);
        } catch (const ModelError& e) {
            QCOMPARE(state, -1);
            QCOMPARE(e.Code(), errorcode::InvalidWindowState);
            QVERIFY2(std::string(e.what()).size() < 150, e.what());  // a long text is cut for the report
        }
    }

    void rememberedValues()
    {
        // Exactly these two texts choose a game.
        for (const char* text : {"gta3", "Vice City", "GTA3 ", ""})
            QVERIFY2(!ParseLastUsed(text), text);
        // What shutdown writes reads back; a run that never chose a game leaves GTA III chosen.
        QCOMPARE(ParseLastUsed(LastUsedText(true)), std::optional<Game>(Game::ViceCity));
        QCOMPARE(ParseLastUsed(LastUsedText(Installation{}.ViceMode)), std::optional<Game>(Game::Gta3));
        for (const WindowState state : {WindowState::Normal, WindowState::Minimized, WindowState::Maximized})
            QCOMPARE(ParseWindowState(WindowStateText(state)), state);
    }

    void layout()
    {
        const auto pass = [](int width, int height) {
            const std::optional<LayoutPass> p = LayOut(width, height, false);
            return p ? QList<int>{p->gridWidth, p->gridHeight, p->bottomTop, p->separatorRight} : QList<int>{};
        };
        // Grid width and height, the bottom panel's top, the separator's end at the grid's edge.
        QCOMPARE(pass(9240, 7125), (QList<int>{8860, 2025, 3775, 8980}));
        // Nothing turns negative or overflows, however small the window.
        QCOMPARE(pass(INT_MIN, INT_MIN), (QList<int>{0, 0, 1750, 120}));
        QVERIFY(!LayOut(9240, 7125, true));  // minimized: the layout stays as it was
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "test_installation.moc"
