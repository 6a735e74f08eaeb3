#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "ErrorReport.h"
#include "DiskFileSystem.h"
#include "FaultyFileSystem.h"
#include "ModelFakes.h"
#include "SystemError.h"

using namespace revlane;

namespace {

// The numbers each system gives the failures below.
#ifdef Q_OS_WIN
constexpr int kPathNotFound = ERROR_PATH_NOT_FOUND;
constexpr int kExists = ERROR_ALREADY_EXISTS;
constexpr int kFolder = ERROR_ACCESS_DENIED;
#else
constexpr int kPathNotFound = ENOENT;
constexpr int kExists = EEXIST;
constexpr int kFolder = EISDIR;
#endif

}  // namespace

// The continue-on-error runner: every step runs, the last failure is reported once at the end, in
// the four-line report (two lines for the installation's set-up), with our numbers for failures
// that bring none.
class TestErrorReport : public QObject {
    Q_OBJECT
private slots:
    void lastOfSeveralFailuresIsReportedOnce()
    {
        test::FakeErrors errors;
        ContinueOnError run("ReadFile", errors);
        int ran = 0;
        QVERIFY(!run.Step([&] { ++ran; throw ModelError(5, "first"); }));
        QVERIFY(run.Step([&] { ++ran; }));
        QVERIFY(!run.Step([&] { ++ran; throw test::ErrnoError(ENOENT, "Cannot open 'x'"); }));
        QVERIFY(run.Step([&] { ++ran; }));
        QVERIFY(ran == 4 && errors.reports.empty() && run.Failed());
        run.Finish();
        run.Finish();  // the failure went with the report
        QCOMPARE(errors.reports, std::vector<std::string>{"Error code # " + std::to_string(ENOENT) + "\r\nDescription: Cannot open 'x': "
                                                          + std::generic_category().message(ENOENT)
                                                          + "\r\nRoutine: ReadFile\r\nOS: Test OS 1.0"});
        ContinueOnError setUp("InitMain", errors);
        setUp.Fail({7, "Out of memory"});
        setUp.FinishShort();
        setUp.FinishShort();
        QVERIFY(errors.reports.size() == 2 && errors.reports.back() == "Error code # 7\r\nDescription: Out of memory");
    }

    void foreignExceptionsGetOurNumbers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("description");
        QTest::newRow("bad_alloc") << 0 << errorcode::OutOfMemory << "Out of memory";
        QTest::newRow("system_error") << 2 << EACCES << "denied";
    }
    void foreignExceptionsGetOurNumbers()
    {
        QFETCH(int, kind);
        QFETCH(int, code);
        QFETCH(QString, description);
        test::FakeErrors errors;
        ContinueOnError run("UpdateLine", errors);
        run.Step([&] {
            if (kind == 0)
                throw std::bad_alloc();
            if (kind == 1)
                throw std::out_of_range("grid cell 9, 9 does not exist");
            if (kind == 2)
                throw std::system_error(EACCES, std::generic_category(), "denied");
            throw 42;
        });
        run.Finish();
        QVERIFY(QString::fromStdString(errors.reports.at(0)).startsWith(QString("Error code # %1\r\nDescription: %2").arg(code).arg(description)));
    }

    // Real failures of the file system: the report names the system's own number for the cause,
    // with the system's text for that number, whatever the standard library made of it.
    void systemFailures_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("path");  // in a fresh folder holding "file"
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("description");  // with %1 for the path, %2 for the system's text
        QTest::newRow("write into a missing folder") << "write" << "gone/default.ide" << kPathNotFound
                                                     << "Cannot create '%1': %2";
        QTest::newRow("link over a file") << "link" << "file" << kExists << "Cannot link '%3' to '%1': %2";
        QTest::newRow("read a folder") << "read" << "." << kFolder << "Cannot read '%1', a folder: %2";
    }
    void systemFailures()
    {
        QFETCH(QString, operation);
        QFETCH(QString, path);
        QFETCH(int, code);
        QFETCH(QString, description);
        QTemporaryDir dir;
        const QString file = QDir::toNativeSeparators(dir.filePath("file"));
        const QString target = QDir::toNativeSeparators(dir.filePath(path));
        test::WriteBytes(file, "x");
        FileSystem& files = platform::Disk();
        Failure failure;
        try {
            if (operation == "write")
                files.WriteAll(test::FsPath(target), "bytes");
            else if (operation == "link")
                files.HardLink(test::FsPath(file), test::FsPath(target));
            else
                files.ReadAll(test::FsPath(target));
            QFAIL("no failure");
        } catch (...) {
            failure = FailureFrom(std::current_exception());
        }
        const std::string text = SystemErrorText(code);
        QCOMPARE(failure.code, code);
        description.replace("%3", file).replace("%1", target).replace("%2", QString::fromStdString(text));
        QCOMPARE(QString::fromStdString(failure.description), description);
        QVERIFY(!text.empty() && text.find_first_of("\r\n") == std::string::npos);
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_errorreport.moc"
