#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <optional>

#include "ErrorReport.h"
#include "Installation.h"
#include "Layout.h"
#include "ModelFakes.h"

using namespace revlane;

namespace {

// What a folder may hold, as bits.
enum Content { Gta3File = 1, ViceFile = 2, Gta3Folder = 4, InDataFolder = 8 };

void Populate(const QString& root, int content)
{
    const auto touch = [](const QString& path) { test::WriteBytes(path, "MZ"); };
    const QString base = (content & InDataFolder) ? root + "/data" : root;
    QVERIFY(QDir().mkpath(base));
    if (content & Gta3File)
        touch(base + "/gta3.exe");
    if (content & ViceFile)
        touch(base + "/gta-vc.exe");
    if (content & Gta3Folder)
        QVERIFY(QDir().mkpath(base + "/gta3.exe"));
}

// Everything of an installation state, to see what a step changed.
std::vector<std::filesystem::path> StateOf(const Installation& inst)
{
    return {inst.ViceMode ? "vice" : "gta3", inst.Gta3Path, inst.Gta3Exe, inst.VicePath,
            inst.ViceExe, inst.DefaultFile, inst.HandlingFile};
}

}  // namespace

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void browse_data()
    {
        QTest::addColumn<int>("content");
        QTest::addColumn<bool>("viceBefore");
        QTest::addColumn<int>("found");  // -1 none, else the Game
        QTest::newRow("empty folder") << 0 << false << -1;
        QTest::newRow("gta3.exe") << int(Gta3File) << true << int(Game::Gta3);
        QTest::newRow("gta-vc.exe") << int(ViceFile) << false << int(Game::ViceCity);
        QTest::newRow("both, Vice City chosen before") << (Gta3File | ViceFile) << true << int(Game::Gta3);
        // Only existence is tested, as for the remembered executable at start-up.
        QTest::newRow("folder named gta3.exe") << int(Gta3Folder) << false << int(Game::Gta3);
        QTest::newRow("folder named gta3.exe beside gta-vc.exe") << (Gta3Folder | ViceFile) << true << int(Game::Gta3);
        QTest::newRow("executables only in data") << (Gta3File | ViceFile | InDataFolder) << false << -1;
    }
    void browse()
    {
        QFETCH(int, content);
        QFETCH(bool, viceBefore);
        QFETCH(int, found);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString root = dir.path() + "/GTA Install, ü";
        Populate(root, content);
        if (QTest::currentTestFailed())
            return;
        const std::filesystem::path folder = test::FsPath(root);

        // Both games were set up elsewhere before, so that every change shows.
        Installation inst{viceBefore, "/old/gta3", "/old/gta3/gta3.exe", "/old/vc", "/old/vc/gta-vc.exe",
                          "/old/vc/data/default.ide", "/old/vc/data/handling.cfg"};
        std::vector<std::filesystem::path> expected = StateOf(inst);
        test::FakeMessages messages;
        const std::optional<FoundInstallation> result = inst.Browse(folder, StdFileSystem(), messages);

        QCOMPARE(result.has_value(), found >= 0);
        if (!result) {
            QCOMPARE(messages.shown.size(), size_t(1));
            QCOMPARE(messages.shown[0].text, std::string(NoGameInFolderMessage));
            QCOMPARE(messages.shown[0].buttons, MsgButtons::OK);
            QCOMPARE(messages.shown[0].icon, MsgIcon::Critical);
            QCOMPARE(StateOf(inst), expected);
            return;
        }
        QVERIFY(messages.shown.empty());
        QCOMPARE(int(result->game), found);
        QCOMPARE(result->exe, ExecutablePath(folder, result->game));
        // Only the found game's folder and executable change, and the choice of game; the
        // files are set up later, by SetUpFiles.
        const bool vice = result->game == Game::ViceCity;
        expected[0] = vice ? "vice" : "gta3";
        expected[vice ? 3 : 1] = folder;
        expected[vice ? 4 : 2] = result->exe;
        QCOMPARE(StateOf(inst), expected);
        QVERIFY(inst.ChosenGameInstalled(StdFileSystem()));
    }

    void noFolderTextIsNoInstallation()
    {
        // An empty text would name the current folder; one holding gta3.exe must not count.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Populate(dir.path(), Gta3File);
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        Installation inst;
        test::FakeMessages messages;
        const bool found = inst.Browse({}, StdFileSystem(), messages).has_value();
        QDir::setCurrent(previous);
        QVERIFY(!found);
        QCOMPARE(messages.shown.size(), size_t(1));
        QVERIFY(!inst.ChosenGameInstalled(StdFileSystem()));
    }

    void paths_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("gta3Exe");
        QTest::addColumn<QString>("viceExe");
        QTest::addColumn<QString>("defaultIde");
        QTest::addColumn<QString>("handlingCfg");
        QTest::newRow("folder") << "/games/GTA III" << "/games/GTA III/gta3.exe" << "/games/GTA III/gta-vc.exe"
                                << "/games/GTA III/data/default.ide" << "/games/GTA III/data/handling.cfg";
        // A root ends in a separator already; no second one is added.
        QTest::newRow("root") << "/" << "/gta3.exe" << "/gta-vc.exe" << "/data/default.ide" << "/data/handling.cfg";
    }
    void paths()
    {
        QFETCH(QString, folder);
        QFETCH(QString, gta3Exe);
        QFETCH(QString, viceExe);
        QFETCH(QString, defaultIde);
        QFETCH(QString, handlingCfg);
        const std::filesystem::path f = test::FsPath(folder);
        const auto generic = [](const std::filesystem::path& p) { return QString::fromStdString(p.generic_string()); };
        QCOMPARE(generic(ExecutablePath(f, Game::Gta3)), gta3Exe);
        QCOMPARE(generic(ExecutablePath(f, Game::ViceCity)), viceExe);
        QCOMPARE(generic(DefaultFilePath(f)), defaultIde);
        QCOMPARE(generic(HandlingFilePath(f)), handlingCfg);
    }

    void rememberedExecutableGone()
    {
        // Only the executable path is tested: its folder may still be there.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Installation inst;
        inst.ViceMode = true;
        inst.VicePath = test::FsPath(dir.path());
        inst.ViceExe = ExecutablePath(inst.VicePath, Game::ViceCity);
        QVERIFY(!inst.ChosenGameInstalled(StdFileSystem()));
        Populate(dir.path(), ViceFile);
        QVERIFY(inst.ChosenGameInstalled(StdFileSystem()));
        inst.ViceMode = false;  // GTA III was never set up
        QVERIFY(!inst.ChosenGameInstalled(StdFileSystem()));
    }

    void windowState_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("state");  // -1: not a window state
        QTest::newRow("absent") << "" << 0;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("2") << "2" << 2;
        QTest::newRow("2.4") << "2.4" << 2;
        QTest::newRow("1.6") << "1.6" << 2;
        QTest::newRow("tie to even 1.5") << "1.5" << 2;
        QTest::newRow("tie to even 2.5") << "2.5" << 2;
        QTest::newRow("leading blanks") << "  2" << 2;
        QTest::newRow("trailing text") << "2 windows" << 2;
        QTest::newRow("small negative") << "-0.4" << 0;
        QTest::newRow("exponent") << "2e0" << 2;
        QTest::newRow("comma is no decimal point") << "1,9" << 1;
        QTest::newRow("no number") << "abc" << 0;
        QTest::newRow("infinity is no number") << "inf" << 0;
        QTest::newRow("3") << "3" << -1;
        QTest::newRow("-1") << "-1" << -1;
        QTest::newRow("huge") << "1e400" << -1;
        QTest::newRow("many digits") << QString(400, '9') << -1;
    }
    void windowState()
    {
        QFETCH(QString, text);
        QFETCH(int, state);
        const std::string stored = text.toStdString();
        if (state >= 0) {
            QCOMPARE(int(ParseWindowState(stored)), state);
            return;
        }
        // Start-up runs it as a step and reports the failure at its end.
        test::FakeErrors errors;
        ContinueOnError run("frmMain Load", errors);
        QVERIFY(!run.Step([&] { ParseWindowState(stored); }));
        QCOMPARE(run.LastFailure().code, errorcode::InvalidWindowState);
        const std::string& description = run.LastFailure().description;
        QVERIFY2(description.find("not 0 (normal), 1 (minimized) or 2 (maximized)") != std::string::npos,
                 description.c_str());
        QVERIFY2(description.size() < 150, description.c_str());  // a long text is cut for the report
        run.Finish();
        QCOMPARE(errors.reports.size(), size_t(1));
        QVERIFY(errors.reports[0].find("Routine: frmMain Load") != std::string::npos);
    }

    void lastUsed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("game");  // -1: no game
        QTest::newRow("GTA3") << "GTA3" << int(Game::Gta3);
        QTest::newRow("ViceCity") << "ViceCity" << int(Game::ViceCity);
        QTest::newRow("absent") << "" << -1;
        QTest::newRow("gta3") << "gta3" << -1;
        QTest::newRow("Vice City") << "Vice City" << -1;
        QTest::newRow("blank after") << "GTA3 " << -1;
        QTest::newRow("blank before") << " ViceCity" << -1;
    }
    void lastUsed()
    {
        QFETCH(QString, text);
        QFETCH(int, game);
        const std::optional<Game> parsed = ParseLastUsed(text.toStdString());
        QCOMPARE(parsed.has_value(), game >= 0);
        if (parsed)
            QCOMPARE(int(*parsed), game);
    }

    void shutdownValuesReadBack()
    {
        for (const WindowState state : {WindowState::Normal, WindowState::Minimized, WindowState::Maximized})
            QCOMPARE(ParseWindowState(WindowStateText(state)), state);
        QCOMPARE(ParseLastUsed(LastUsedText(true)), std::optional<Game>(Game::ViceCity));
        // A run that never chose a game leaves GTA III chosen for the next one.
        QCOMPARE(ParseLastUsed(LastUsedText(Installation{}.ViceMode)), std::optional<Game>(Game::Gta3));
    }

    void layout_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<QList<int>>("expected");  // grid width, grid height, bottom top, separator end
        QTest::newRow("normal") << 9240 << 7125 << false << QList<int>{8860, 2025, 3775, 8980};
        QTest::newRow("maximized") << 28920 << 16110 << false << QList<int>{28540, 11010, 12760, 28660};
        QTest::newRow("minimized") << 2400 << 540 << true << QList<int>{};
        QTest::newRow("exactly the fixed areas") << 380 << 5100 << false << QList<int>{0, 0, 1750, 120};
        QTest::newRow("smaller than the fixed areas") << 300 << 4000 << false << QList<int>{0, 0, 1750, 120};
        QTest::newRow("no size at all") << INT_MIN << INT_MIN << false << QList<int>{0, 0, 1750, 120};
        QTest::newRow("largest") << INT_MAX << INT_MAX << false
                                 << QList<int>{INT_MAX - 380, INT_MAX - 5100, INT_MAX - 3350, INT_MAX - 260};
    }
    void layout()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, minimized);
        QFETCH(QList<int>, expected);
        const std::optional<LayoutPass> pass = LayOut(width, height, minimized);
        QCOMPARE(pass.has_value(), !expected.isEmpty());
        if (!pass)
            return;
        QCOMPARE((QList<int>{pass->gridWidth, pass->gridHeight, pass->bottomTop, pass->separatorRight}), expected);
        // The separator ends at the grid's right edge.
        QCOMPARE(pass->separatorRight, layout::GridLeft + pass->gridWidth);
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "test_installation.moc"
