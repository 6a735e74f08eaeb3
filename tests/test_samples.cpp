#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <set>
#include <string>

#include "ModelFakes.h"
#include "StockLines.h"

using namespace revlane;
using namespace revlane::test;

Q_DECLARE_METATYPE(revlane::FileKind)
Q_DECLARE_METATYPE(revlane::Game)

namespace {

const QStringList kTextFiles = {"gta3/data/default.ide", "gta3/data/handling.cfg", "vicecity/data/default.ide",
                                "vicecity/data/handling.cfg"};
const QStringList kExecutables = {"gta3/gta3.exe", "vicecity/gta-vc.exe"};

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run MakeSamples(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(REVLANE_SAMPLES_EXE), arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace

class TestSamples : public QObject {
    Q_OBJECT

private slots:
    // Each sample file reads back as the game's file would: every stock vehicle in a row of its
    // own, no capacity message, no failure.
    void readBack_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("vehicles");
        QTest::addColumn<int>("titles");
        QTest::newRow("gta3 default.ide") << "gta3/data/default.ide" << FileKind::DefaultIde << Game::Gta3 << 61 << 0;
        QTest::newRow("gta3 handling.cfg") << "gta3/data/handling.cfg" << FileKind::HandlingCfg << Game::Gta3 << 57 << 0;
        QTest::newRow("vc default.ide") << "vicecity/data/default.ide" << FileKind::DefaultIde << Game::ViceCity << 107
                                        << 0;
        QTest::newRow("vc handling.cfg") << "vicecity/data/handling.cfg" << FileKind::HandlingCfg << Game::ViceCity
                                         << 106 << 3;
    }
    void readBack()
    {
        QFETCH(QString, file);
        QFETCH(FileKind, kind);
        QFETCH(Game, game);
        QFETCH(int, vehicles);
        QFETCH(int, titles);
        QTemporaryDir dir;
        const Run run = MakeSamples({dir.path()});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());

        const QString path = dir.filePath(file);
        const QByteArray bytes = ReadBytes(path);
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));

        Harness h;
        h.Open(kind, game, FsPath(path));
        QVERIFY(h.messages.shown.empty());
        QVERIFY(h.errors.reports.empty());
        QVERIFY(h.file.SectionFound());
        QCOMPARE(int(h.view.restoreList.size()), vehicles);
        QCOMPARE(h.file.TitleCount(), titles);
        QCOMPARE(h.file.FilledRows(), vehicles + titles);

        // The vehicle lines are the game's stock lines, each one once.
        DefaultLines stock;
        stock.Load();
        const auto keys = kind == FileKind::DefaultIde ? DefaultLines::DefaultIdeKeys(game)
                                                       : DefaultLines::HandlingKeys(game);
        std::set<std::string> expected;
        for (int key = keys.first; key <= keys.last; ++key)
            if (!stock.Entry(key).empty())
                expected.insert(stock.Entry(key));
        std::set<std::string> found;
        for (int row = h.file.FirstDataRow(); row < h.grid.Rows(); ++row)
            if (h.file.IsVehicleRow(row))
                found.insert(h.file.FileLines().at(size_t(h.file.LineOfRow(row))));
        QCOMPARE(found, expected);
    }

    void placeholdersAndRerun()
    {
        QTemporaryDir dir;
        QCOMPARE(MakeSamples({dir.path()}).exitCode, 0);
        for (const QString& exe : kExecutables) {
            QVERIFY2(QFileInfo(dir.filePath(exe)).isFile(), qPrintable(exe));
            QCOMPARE(QFileInfo(dir.filePath(exe)).size(), 0);
        }
        // Its own files it writes again.
        const QByteArray before = ReadBytes(dir.filePath(kTextFiles[0]));
        QCOMPARE(MakeSamples({dir.path()}).exitCode, 0);
        QCOMPARE(ReadBytes(dir.filePath(kTextFiles[0])), before);
        QVERIFY(QDir(dir.filePath("gta3/data")).entryList(QDir::Files).size() == 2);
    }

    // A non-empty file that it did not write stops it before it writes anything.
    void neverOverwritesOthersFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("game's default.ide") << "vicecity/data/default.ide" << QByteArray("# the game's own\r\ncars\r\n");
        QTest::newRow("game's handling.cfg") << "gta3/data/handling.cfg" << QByteArray("; Author\r\n");
    }
    void neverOverwritesOthersFiles()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QFileInfo(dir.filePath(file)).path()));
        WriteBytes(dir.filePath(file), content);

        const Run run = MakeSamples({dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("not written by revlane-samples"));
        QCOMPARE(ReadBytes(dir.filePath(file)), content);
        for (const QString& other : kTextFiles + kExecutables)
            if (other != file)
                QVERIFY2(!QFileInfo::exists(dir.filePath(other)), qPrintable(other));
    }

    // A sample that Revlane has saved is the user's file now.
    void savedSampleIsKept()
    {
        QTemporaryDir dir;
        QCOMPARE(MakeSamples({dir.path()}).exitCode, 0);
        const QString path = dir.filePath("gta3/data/handling.cfg");
        Harness h;
        h.Open(FileKind::HandlingCfg, Game::Gta3, FsPath(path));
        QVERIFY(h.file.SaveFile());
        const QByteArray saved = ReadBytes(path);

        QCOMPARE(MakeSamples({dir.path()}).exitCode, 1);
        QCOMPARE(ReadBytes(path), saved);
    }

    // An empty file takes the sample; a real executable stays as it is.
    void emptyFilesAndRealExecutable()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("gta3/data"));
        WriteBytes(dir.filePath("gta3/data/default.ide"), QByteArray());
        WriteBytes(dir.filePath("gta3/gta3.exe"), QByteArray("MZ real program"));

        const Run run = MakeSamples({dir.path()});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(ReadBytes(dir.filePath("gta3/data/default.ide")).startsWith("# Revlane sample file"));
        QCOMPARE(ReadBytes(dir.filePath("gta3/gta3.exe")), QByteArray("MZ real program"));
        QCOMPARE(QFileInfo(dir.filePath("vicecity/gta-vc.exe")).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSamples)
#include "test_samples.moc"
