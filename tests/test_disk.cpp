#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

#include "FaultyFileSystem.h"
#include "ModelFakes.h"
#include "SystemError.h"
#include "Text.h"

using namespace revlane;
using namespace revlane::test;

namespace {

// Runs `run` where the system refuses to let a file grow past `limit` bytes, unless 0: a write
// fails part-way, as on a full disk. Nothing is limited where the system has no such limit.
template <class Run>
auto FileSizeLimited(unsigned long long limit, Run run)
{
#ifdef Q_OS_UNIX
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = static_cast<rlim_t>(limit);
    if (limit > 0)
        setrlimit(RLIMIT_FSIZE, &small);
    const auto result = run();
    setrlimit(RLIMIT_FSIZE, &before);
    return result;
#else
    Q_UNUSED(limit);
    return run();
#endif
}

}  // namespace

// Saving against what the disk does: a step that fails, the program killed at any moment, a power
// cut after the save, another save at the same time, and a file's permissions.
class TestDisk : public QObject {
    Q_OBJECT
private slots:
    // A save that fails reports it under its routine's name, keeps the changes marked and loses
    // nothing: no half-made file or backup is left behind, and a read-only file is not saved over.
    void failedSaves_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("backup");  // the backup exists after the failure
        QTest::newRow("a folder where the file should be") << "folder" << true;
        QTest::newRow("the folder has gone") << "gone" << false;
        QTest::newRow("disk full") << "full" << false;
        QTest::newRow("disk full, half way through a large file") << "full large" << false;
        QTest::newRow("neither a link nor a copy for the backup") << "nobackup" << false;
        QTest::newRow("the backup's name cannot be synced") << "sync" << true;
        QTest::newRow("the new file cannot take the name") << "rename" << true;
        QTest::newRow("a read-only file") << "readonly" << false;
    }
    void failedSaves()
    {
        QFETCH(QString, how);
        QFETCH(bool, backup);
        QTemporaryDir dir;
        const QString folder = dir.filePath("data"), path = folder + "/default.ide";
        QVERIFY(QDir().mkdir(folder));
        const QByteArray original =
            "#x\r\ncars\r\n90, a\r\n" + (how == "full large" ? QByteArray("#" + QByteArray(99, 'c') + "\r\n").repeated(20'000) : "");
        WriteBytes(path, original);
        FaultyFileSystem fs;
        Harness h(fs);
        h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        h.Edit(0, 1, "changed");
        using Op = FaultyFileSystem::Op;
        if (how == "folder") {
            // A backup already exists, and the file has been replaced by a folder with something in it.
            WriteBytes(path + ".bak", "old backup");
            QVERIFY(QFile::remove(path) && QDir().mkpath(path + "/inside"));
        } else if (how == "gone") {
            QVERIFY(QDir(folder).removeRecursively());
        } else if (how == "nobackup") {
            fs.faults = {{Op::Link, {}, EPERM}, {Op::Write, FsPath(path + ".bak"), ENOSPC}};
        } else if (!how.startsWith("full") && how != "readonly") {
            fs.faults = {{how == "sync" ? Op::Sync : Op::Rename, {}, how == "sync" ? EIO : EXDEV}};
        }
        QVERIFY(how != "readonly" || QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const unsigned long long limit = how == "full" ? 16 : how == "full large" ? original.size() / 2 : 0;
        const SaveResult result = FileSizeLimited(limit, [&] { return h.doc.Save(); });
        if (limit > 0 && h.errors.reports.empty())
            QSKIP("this system has no limit on a file's size");

        QVERIFY(!result && h.doc.Modified());
        QCOMPARE(h.errors.reports.size(), size_t(1));
        QVERIFY2(h.errors.reports[0].find("\r\nRoutine: SaveFile\r\nOS: Test OS 1.0") != std::string::npos,
                 h.errors.reports[0].c_str());
        if (how == "readonly")
            QVERIFY(text::StartsWith(h.errors.reports[0], "Error code # " + std::to_string(SystemErrorCode(SystemFault::ReadOnly))));
        QCOMPARE(h.doc.Lines()[2], std::string("90,\tchanged"));
        QCOMPARE(result.backupMade, backup && how != "folder");
        QCOMPARE(ReadBytes(path + ".bak"), how == "folder" ? QByteArray("old backup") : backup ? original : "<missing>");
        if (how != "folder" && how != "gone")
            QCOMPARE(ReadBytes(path), original);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden).filter(".revlane-save"), QStringList());

        // Once the cause is gone, saving works and clears the mark.
        if (how == "gone") {
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(h.doc.Save() && !h.doc.Modified());
        }
    }

    // A save is done only once its new names are on the disk: the new file is written and synced,
    // the first save's backup linked and its name synced, the new file renamed into place and that
    // name synced, and only then is it saved. A name that cannot be synced is a failed save.
    void syncOrder_data()
    {
        QTest::addColumn<bool>("backupExists");
        QTest::addColumn<bool>("syncFails");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("first save") << false << false << QStringList{"write", "link", "sync", "rename", "sync"};
        QTest::newRow("later save") << true << false << QStringList{"write", "rename", "sync"};
        QTest::newRow("later save, the rename not synced") << true << true << QStringList{"write", "rename"};
    }
    void syncOrder()
    {
        QFETCH(bool, backupExists);
        QFETCH(bool, syncFails);
        QFETCH(QStringList, steps);
        QTemporaryDir dir;
        const QString path = dir.filePath("default.ide");
        WriteBytes(path, "#x\r\ncars\r\n90, a\r\n");
        if (backupExists)
            WriteBytes(path + ".bak", "older");
        FaultyFileSystem fs;
        if (syncFails)
            fs.faults.push_back({FaultyFileSystem::Op::Sync, {}, EIO});
        Harness h(fs);
        h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
        h.Edit(0, 2, "b");
        QCOMPARE(bool(h.doc.Save()), !syncFails);
        QStringList log;
        for (const std::string& step : fs.log)
            log << QString::fromStdString(step);
        QCOMPARE(log, steps);
        QCOMPARE(h.doc.Modified(), syncFails);
        QCOMPARE(h.errors.reports.size(), size_t(syncFails));
        // The new file is in place all the same, and is known as Revlane's own.
        fs.faults.clear();
        QVERIFY(!h.doc.ChangedOnDisk() && h.doc.Save());
    }

    // Each save writes a file of its own beside the user's, so that two saves at once never write
    // into one; it holds it until it is renamed, and removes only what no save holds: the files
    // that saves cut short left behind.
    void ownTemporaryFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("handling.cfg");
        WriteBytes(path, "old");
        for (const char* left : {".revlane-save", ".revlane-save-0123456789ab"})
            WriteBytes(path + left, "cut sho");
        platform::DiskFileSystem& files = platform::Disk();
        const auto a = files.WriteNew(FsPath(path), {std::string("a\0\xff", 3)}, {LineEnd::Lf});
        const auto b = files.WriteNew(FsPath(path), {"b"}, {LineEnd::None});
        QVERIFY(a != b);
        files.RemoveLeftovers(FsPath(path));
        const auto names = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
        QCOMPARE(names().size(), 3);
        QCOMPARE(files.ReadAll(a) + files.ReadAll(b), std::string("a\0\xff\nb", 5));
        files.Rename(b, FsPath(path));
        files.Release(a);
        files.Release(b);
        QCOMPARE(names(), QStringList{"handling.cfg"});
        QCOMPARE(ReadBytes(path), QByteArray("b"));
    }

    // A saved file keeps who may read and write it, and whose it is.
    void accessKept_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("otherOwner");
        QTest::newRow("0600") << 0600 << false;
        QTest::newRow("0664") << 0664 << false;
        QTest::newRow("another user's") << 0644 << true;
    }
    void accessKept()
    {
#ifdef Q_OS_UNIX
        QFETCH(int, mode);
        QFETCH(bool, otherOwner);
        if (otherOwner && geteuid() != 0)
            QSKIP("only an administrator can give a file to another user");
        OpenedFile h(FileKind::DefaultIde, "#x\r\n90, a\r\n");
        const QByteArray name = QFile::encodeName(h.path);
        QVERIFY(chmod(name, mode_t(mode)) == 0 && (!otherOwner || chown(name, 65534, 65534) == 0));
        h.Edit(0, 1, "b");
        QVERIFY(h.doc.Save());
        struct stat status {};
        QVERIFY(stat(name, &status) == 0);
        QCOMPARE(int(status.st_mode & 07777), mode);
        QCOMPARE(status.st_uid, otherOwner ? uid_t(65534) : geteuid());
#else
        QSKIP("permission bits are a POSIX system's");
#endif
    }

    // A save killed at any moment leaves a whole file under the file's name, the old one or the new
    // one, and the first save's backup is the old file or not there at all. The next save of the
    // file removes what the killed one left beside it.
    void crashAtAnyMoment_data()
    {
        QTest::addColumn<bool>("backupExists");
        QTest::addColumn<bool>("linksRefused");
        QTest::newRow("first save") << false << false;
        QTest::newRow("first save, backup by copy") << false << true;
        QTest::newRow("later save") << true << false;
    }
    void crashAtAnyMoment()
    {
        QFETCH(bool, backupExists);
        QFETCH(bool, linksRefused);
        const QByteArray original = "#x\r\ncars\r\n90, a, b\r\n91, c, d\r\n";
        bool finished = false;
        for (int crashAt = 0; !finished; ++crashAt) {
            QVERIFY(crashAt < 20);
            QTemporaryDir dir;
            const QString path = dir.filePath("default.ide");
            WriteBytes(path, original);
            if (backupExists)
                WriteBytes(path + ".bak", "older");
            FaultyFileSystem fs;
            fs.crashAt = crashAt;
            if (linksRefused)
                fs.faults.push_back({FaultyFileSystem::Op::Link, {}, EPERM});
            Harness h(fs);
            h.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path));
            h.Edit(1, 2, "new");
            const bool saved = bool(h.doc.Save());
            finished = !fs.crashed;
            QVERIFY(!finished || (saved && h.errors.reports.empty()));

            const QByteArray now = ReadBytes(path), backup = ReadBytes(path + ".bak");
            const bool isNew = now.startsWith("# Config") && now.contains("91,\tc,\t\tnew") && now.endsWith("\r\n");
            QVERIFY2(now == original || isNew, now.constData());
            QVERIFY(!finished || isNew);
            if (backupExists)
                QCOMPARE(backup, QByteArray("older"));
            else
                QVERIFY2(backup == original || (!finished && backup == "<missing>"), backup.constData());
            Harness next;
            QVERIFY(next.Open(FileKind::DefaultIde, Game::Gta3, FsPath(path)) && next.doc.Save());
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".revlane-save"), QStringList());
        }
    }

};

QTEST_GUILESS_MAIN(TestDisk)
#include "test_disk.moc"
