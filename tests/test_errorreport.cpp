#include <QTest>

#include <cerrno>

#include "ErrorReport.h"
#include "ModelFakes.h"

using namespace revlane;

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
        std::vector<int> ran;
        QVERIFY(!run.Step([&] { ran.push_back(1); throw ModelError(5, "first"); }));
        QVERIFY(run.Step([&] { ran.push_back(2); }));
        QVERIFY(!run.Step([&] { ran.push_back(3); throw ModelError::FromErrno(ENOENT, "Cannot open 'x'"); }));
        QVERIFY(run.Step([&] { ran.push_back(4); }));
        QCOMPARE(ran, (std::vector<int>{1, 2, 3, 4}));
        QVERIFY(errors.reports.empty() && run.Failed());
        run.Finish();
        run.Finish();  // the failure went with the report
        QCOMPARE(errors.reports, std::vector<std::string>{"Error code # " + std::to_string(ENOENT) + "\r\nDescription: Cannot open 'x': "
                                                          + std::generic_category().message(ENOENT)
                                                          + "\r\nRoutine: ReadFile\r\nOS: Test OS 1.0"});
        ContinueOnError setUp("InitMain", errors);
        setUp.Fail({7, "Out of memory"});
        setUp.FinishShort();
        setUp.FinishShort();
        QCOMPARE(errors.reports.back(), std::string("Error code # 7\r\nDescription: Out of memory"));
        QCOMPARE(errors.reports.size(), size_t(2));
    }

    void foreignExceptionsGetOurNumbers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("description");
        QTest::newRow("bad_alloc") << 0 << errorcode::OutOfMemory << "Out of memory";
        QTest::newRow("std::exception") << 1 << errorcode::Internal << "grid cell 9, 9 does not exist";
        QTest::newRow("system_error") << 2 << EACCES << "denied";
        QTest::newRow("anything") << 3 << errorcode::Internal << "Unknown failure";
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
        QCOMPARE(run.LastFailure().code, code);
        QVERIFY(QString::fromStdString(run.LastFailure().description).startsWith(description));
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_errorreport.moc"
