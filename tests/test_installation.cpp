#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include "ErrorReport.h"
#include "Installation.h"
#include "ModelFakes.h"

using namespace revlane;

// What a folder holds, and what the remembered settings mean.
class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    // The remembered window state: its leading number, rounded, a tie to the even one; anything
    // but 0, 1 or 2 is refused with a report that quotes the text, cut short. And the game:
    // exactly "GTA3" or "ViceCity"; what shutdown writes reads back.
    void rememberedValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("state");  // -1: not a window state
        QTest::newRow("absent") << "" << 0;
        QTest::newRow("tie to even 1.5") << "1.5" << 2;
        QTest::newRow("blanks before, comma after") << " \t\r\n1,9" << 1;
        QTest::newRow("exponent") << "1e0x" << 1;
        QTest::newRow("3") << "3" << -1;
        QTest::newRow("quoted whole") << QString(40, '7') << -1;
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
            QCOMPARE(e.Code(), 1101);  // the number the error report shows
            const QString quoted = "'" + (text.size() <= 40 ? text + "'" : text.left(40) + "...'");
            QVERIFY2(std::string(e.what()).find(quoted.toStdString()) != std::string::npos, e.what());
            QVERIFY2(std::string(e.what()).size() < 150, e.what());
        }
        for (const char* other : {"gta3", "Vice City", "GTA3 ", ""})
            QVERIFY2(!ParseLastUsed(other), other);
        QCOMPARE(ParseLastUsed(LastUsedText(true)), std::optional<Game>(Game::ViceCity));
        QCOMPARE(ParseLastUsed(LastUsedText(Installation{}.ViceMode)), std::optional<Game>(Game::Gta3));
    }

    // However small the window, nothing turns negative or overflows; a minimized one keeps its
    // layout. An empty folder text is no folder, not the current one, whatever that holds.
    void emptyFolderIsNoFolder()
    {
        QTemporaryDir dir;
        test::WriteBytes(dir.filePath("gta3.exe"), "");
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const bool foundInCurrent = FindInstallation({}, platform::Disk()).has_value();
        QDir::setCurrent(previous);
        QVERIFY(!foundInCurrent);
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "test_installation.moc"
