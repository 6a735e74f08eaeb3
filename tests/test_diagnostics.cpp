#include <QTest>

#include <optional>

#include "Diagnostics.h"
#include "Shell.h"

using namespace revlane::platform;

using Bytes = std::optional<quint64>;
Q_DECLARE_METATYPE(Bytes)

class TestDiagnostics : public QObject {
    Q_OBJECT
private slots:
    void windowsVersionNames_data()
    {
        QTest::addColumn<QList<int>>("call");  // known, major, minor version, build
        QTest::addColumn<QString>("name");
        // Not known wins over whatever the numbers say.
        QTest::newRow("unknown") << QList<int>{0, 10, 0, 19045} << "Unable to identify your version of Windows.";
        // Windows 11 is still 10.0: its builds begin at 22000.
        QTest::newRow("10, last build") << QList<int>{1, 10, 0, 19045} << "Windows 10";
        QTest::newRow("11, first build") << QList<int>{1, 10, 0, 22000} << "Windows 11";
    }
    void windowsVersionNames()
    {
        QFETCH(QList<int>, call);
        QFETCH(QString, name);
        QCOMPARE(GetWinVersion(call[0] != 0, call[1], call[2], call[3]), name);
    }

    void memAvailable_data()
    {
        QTest::addColumn<QByteArray>("meminfo");
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("kernel's layout") << QByteArray("MemFree:  1 kB\nMemAvailable:    9870548 kB\nBuffers:  4 kB\n")
                                         << Bytes(9870548ULL * 1024);
        QTest::newRow("no unit: bytes; no line end") << QByteArray("MemTotal: 2 kB\nMemAvailable: 1536") << Bytes(1536);
        QTest::newRow("old kernel without the line") << QByteArray("MemTotal: 2048 kB\n") << Bytes();
        QTest::newRow("not a number") << QByteArray("MemAvailable: lots kB\n") << Bytes();
        QTest::newRow("unknown unit") << QByteArray("MemAvailable: 12 MB\n") << Bytes();
        QTest::newRow("too large for 64 bits") << QByteArray("MemAvailable: 18014398509481984 kB\n") << Bytes();
    }
    void memAvailable()
    {
        QFETCH(QByteArray, meminfo);
        QFETCH(Bytes, bytes);
        QCOMPARE(MemAvailableFromMeminfo(meminfo), bytes);
    }

    void availableMemoryOfThisMachine()
    {
#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
        QVERIFY(AvailablePhysicalMemory().value_or(0) > 0);
#else
        QSKIP("the available memory is only known on Windows and Linux");
#endif
    }

    void mailTargets_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("query");
        // A "#" left as it is would end the body early.
        QTest::newRow("error report")
            << "Revlane 1.1.0 error report" << "Error code # 53\r\n\r\nRoutine:  SaveFile"
            << "?subject=Revlane%201.1.0%20error%20report&body=Error%20code%20%23%2053%0A%0ARoutine:%20%20SaveFile";
        QTest::newRow("empty body") << "Revlane:" << "" << "?subject=Revlane:&body=";
        // "&" and "%" are escaped too; nothing else is.
        QTest::newRow("path") << "a=b" << "'C:\\Mods & Cars\\100%\\a=b?c/d'"
                              << "?subject=a=b&body='C:\\Mods%20%26%20Cars\\100%25\\a=b?c/d'";
    }
    void mailTargets()
    {
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(QString, query);
        const QString target = MailTarget("maker@example.org", subject, body);
        QCOMPARE(target, "mailto:maker@example.org" + query);
    }
};

QTEST_GUILESS_MAIN(TestDiagnostics)
#include "test_diagnostics.moc"
