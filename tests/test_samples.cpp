#include <QDirIterator>
#include <QProcess>
#include <QTest>

#include <tuple>

#include "ModelFakes.h"

using namespace revlane;
using namespace revlane::test;

namespace {

// Runs the writer on a folder: its exit code, or -1 when it did not finish; and every file under
// the folder with its content afterwards.
int MakeSamples(const QString& folder, QMap<QString, QByteArray>* files, QByteArray* err = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(REVLANE_SAMPLES_EXE), {folder});
    const bool finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    if (err)
        *err = process.readAllStandardError();
    files->clear();
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        files->insert(path.mid(folder.size() + 1), ReadBytes(path));
    }
    return finished ? process.exitCode() : -1;
}

}  // namespace

// The sample installations that ./run writes for a machine without the games.
class TestSamples : public QObject {
    Q_OBJECT
private slots:
    // Each sample file reads back as the game's file would. Its own files it writes again, leaving
    // nothing beside them; once Revlane has saved one, it is the user's file and the writer stops.
    void writeReadBackAndRerun()
    {
        // Windows gives a program its command line in the user's code page unless it asks for it
        // whole: a folder named in another script must still arrive as it was named.
        QTemporaryDir parent;
        const QDir dir(parent.filePath(QStringLiteral("\u30b2\u30fc\u30e0 \u00e9")));
        QMap<QString, QByteArray> written, again;
        QByteArray err;
        QCOMPARE(MakeSamples(dir.path(), &written, &err), 0);
        QCOMPARE(err, QByteArray());
        QCOMPARE(written.keys(), (QStringList{"gta3/data/default.ide", "gta3/data/handling.cfg", "gta3/gta3.exe",
                                              "vicecity/data/default.ide", "vicecity/data/handling.cfg", "vicecity/gta-vc.exe"}));
        // Each sample reads as its game's file: every stock vehicle of it, with no message.
        for (const auto& [file, kind, game] : {std::tuple("gta3/data/handling.cfg", FileKind::HandlingCfg, Game::Gta3),
                                               std::tuple("vicecity/data/default.ide", FileKind::DefaultIde, Game::ViceCity)}) {
            Harness h;
            QVERIFY(h.Open(kind, game, FsPath(dir.filePath(file))) && h.messages.shown.empty());
            QCOMPARE(h.doc.RestoreCount(), kind == FileKind::HandlingCfg ? 57 : 107);
        }
        QCOMPARE(MakeSamples(dir.path(), &again), 0);
        QCOMPARE(again, written);
        Harness h;
        h.Open(FileKind::HandlingCfg, Game::Gta3, FsPath(dir.filePath("gta3/data/handling.cfg")));
        QVERIFY(h.doc.Save());
        QCOMPARE(MakeSamples(dir.path(), &written, &err), 1);
        QVERIFY(err.contains("not written by revlane-samples") && written.size() == 7);

        // Another's file stops it before it writes anything; an empty file takes the sample; a
        // real executable is kept.
        QTemporaryDir other;
        QVERIFY(QDir(other.path()).mkpath("vicecity/data") && QDir(other.path()).mkpath("gta3/data"));
        WriteBytes(other.filePath("vicecity/data/handling.cfg"), "; the game's own\r\n");
        QCOMPARE(MakeSamples(other.path(), &written), 1);
        QCOMPARE(written.keys(), QStringList{"vicecity/data/handling.cfg"});
        QVERIFY(QFile::remove(other.filePath("vicecity/data/handling.cfg")));
        WriteBytes(other.filePath("gta3/gta3.exe"), "MZ real");
        WriteBytes(other.filePath("gta3/data/default.ide"), "");
        QCOMPARE(MakeSamples(other.path(), &written), 0);
        QVERIFY(written.value("gta3/gta3.exe") == "MZ real" && written.value("gta3/data/default.ide").startsWith("# Revlane sample"));
    }
};

QTEST_GUILESS_MAIN(TestSamples)
#include "test_samples.moc"
