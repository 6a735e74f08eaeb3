#include <QTest>

#include <cerrno>

#include "ErrorReport.h"
#include "ModelFakes.h"

using namespace revlane;

class TestErrorReport : public QObject {
    Q_OBJECT
private slots:
    void reportTexts()
    {
        const Failure failure{53, "File not found"};
        QCOMPARE(FullErrorReport(failure, "SaveFile", "Windows XP"),
                 std::string("Error code # 53\r\nDescription: File not found\r\nRoutine: SaveFile\r\nOS: Windows XP"));
        QCOMPARE(ShortErrorReport(failure), std::string("Error code # 53\r\nDescription: File not found"));
    }

    void lastOfSeveralFailuresIsReportedOnce()
    {
        test::FakeErrors errors;
        ContinueOnError run("ReadFile", errors);
        std::vector<int> ran;
        QVERIFY(!run.Step([&] { ran.push_back(1); throw ModelError(5, "first"); }));
        QVERIFY(run.Step([&] { ran.push_back(2); }));
        QVERIFY(!run.Step([&] { ran.push_back(3); throw ModelError::FromErrno(ENOENT, "Cannot open 'x'"); }));
        QVERIFY(run.Step([&] { ran.push_back(4); }));
        QCOMPARE(ran, (std::vector<int>{1, 2, 3, 4}));
        QVERIFY(errors.reports.empty());
        run.Finish();
        QCOMPARE(errors.reports.size(), size_t(1));
        QCOMPARE(errors.reports[0], "Error code # " + std::to_string(ENOENT) + "\r\nDescription: Cannot open 'x': "
                                        + std::generic_category().message(ENOENT)
                                        + "\r\nRoutine: ReadFile\r\nOS: Test OS 1.0");
        // Finishing again reports nothing: the failure was cleared with the report.
        run.Finish();
        QCOMPARE(errors.reports.size(), size_t(1));
    }

    void foreignExceptionsGetOurNumbers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("description");
        QTest::newRow("bad_alloc") << 0 << errorcode::OutOfMemory << "Out of memory";
        QTest::newRow("std::exception") << 1 << errorcode::Internal << "grid cell 9, 9 does not exist";
        QTest::newRow("anything") << 2 << errorcode::Internal << "Unknown failure";
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
            throw 42;
        });
        QCOMPARE(run.LastFailure().code, code);
        QCOMPARE(QString::fromStdString(run.LastFailure().description), description);
    }

    void shortReportForSetUp()
    {
        test::FakeErrors errors;
        ContinueOnError run("InitMain", errors);
        run.Fail({7, "Out of memory"});
        run.FinishShort();
        QCOMPARE(errors.reports, (std::vector<std::string>{"Error code # 7\r\nDescription: Out of memory"}));
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_errorreport.moc"
