#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <optional>

#include "Diagnostics.h"
#include "Shell.h"

using namespace revlane::platform;

Q_DECLARE_METATYPE(std::optional<quint64>)

class TestDiagnostics : public QObject {
    Q_OBJECT
private slots:
    void windowsVersionNames_data()
    {
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<int>("platformId");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("name");
        const QString unknown = QStringLiteral("Unable to identify your version of Windows.");
        // A failed call wins over whatever the record holds.
        QTest::newRow("call failed") << false << 2 << 5 << 1 << unknown;
        QTest::newRow("call failed, empty record") << false << 0 << 0 << 0 << unknown;
        QTest::newRow("Win32s") << true << 0 << 3 << 10 << QStringLiteral("Win32s on Windows 3.1");
        QTest::newRow("95") << true << 1 << 4 << 0 << QStringLiteral("Windows 95");
        QTest::newRow("Me") << true << 1 << 4 << 90 << QStringLiteral("Windows Me");
        QTest::newRow("98") << true << 1 << 4 << 10 << QStringLiteral("Windows 98");
        QTest::newRow("9x, other minor") << true << 1 << 4 << 3 << QStringLiteral("Windows 98");
        QTest::newRow("NT 3.51") << true << 2 << 3 << 51 << QStringLiteral("Windows NT 3.5");
        QTest::newRow("NT 4.0") << true << 2 << 4 << 0 << QStringLiteral("Windows NT 4.0");
        QTest::newRow("2000") << true << 2 << 5 << 0 << QStringLiteral("Windows 2000");
        QTest::newRow("XP") << true << 2 << 5 << 1 << QStringLiteral("Windows XP");
        QTest::newRow("Server 2003") << true << 2 << 5 << 2 << QStringLiteral("Windows Server 2003");
        QTest::newRow("Vista") << true << 2 << 6 << 0 << QStringLiteral("Windows Vista");
        QTest::newRow("7") << true << 2 << 6 << 1 << QStringLiteral("Windows 7");
        QTest::newRow("8") << true << 2 << 6 << 2 << QStringLiteral("Windows 8");
        QTest::newRow("8.1") << true << 2 << 6 << 3 << QStringLiteral("Windows NT");
        QTest::newRow("5.3") << true << 2 << 5 << 3 << QStringLiteral("Windows NT");
        QTest::newRow("10") << true << 2 << 10 << 0 << QStringLiteral("Windows NT");
        QTest::newRow("platform 3") << true << 3 << 10 << 0 << QString();
        QTest::newRow("platform -1") << true << -1 << 6 << 1 << QString();
    }
    void windowsVersionNames()
    {
        QFETCH(bool, succeeded);
        QFETCH(int, platformId);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, name);
        const QString got = GetWinVersion(succeeded, platformId, major, minor);
        QCOMPARE(got, name);
        QCOMPARE(got.isNull(), name.isNull());
    }

    void memAvailable_data()
    {
        QTest::addColumn<QByteArray>("meminfo");
        QTest::addColumn<std::optional<quint64>>("bytes");
        QTest::newRow("kernel's own layout")
            << QByteArray("MemTotal:       16318480 kB\nMemFree:         1016880 kB\n"
                          "MemAvailable:    9870548 kB\nBuffers:          431884 kB\n")
            << std::optional<quint64>(9870548ULL * 1024);
        QTest::newRow("last line, no line end")
            << QByteArray("MemTotal: 2048 kB\nMemAvailable: 1 kB") << std::optional<quint64>(1024);
        QTest::newRow("zero") << QByteArray("MemAvailable: 0 kB\n") << std::optional<quint64>(0);
        QTest::newRow("no unit is bytes") << QByteArray("MemAvailable: 1536\n") << std::optional<quint64>(1536);
        QTest::newRow("old kernel without the line")
            << QByteArray("MemTotal: 2048 kB\nMemFree: 1024 kB\n") << std::optional<quint64>();
        QTest::newRow("not a number") << QByteArray("MemAvailable: lots kB\n") << std::optional<quint64>();
        QTest::newRow("unknown unit") << QByteArray("MemAvailable: 12 MB\n") << std::optional<quint64>();
        QTest::newRow("too large for 64 bits")
            << QByteArray("MemAvailable: 18014398509481984 kB\n") << std::optional<quint64>();
        QTest::newRow("empty") << QByteArray() << std::optional<quint64>();
    }
    void memAvailable()
    {
        QFETCH(QByteArray, meminfo);
        QFETCH(std::optional<quint64>, bytes);
        QCOMPARE(MemAvailableFromMeminfo(meminfo), bytes);
    }

    void availableMemoryOfThisMachine()
    {
#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
        const std::optional<quint64> bytes = AvailablePhysicalMemory();
        QVERIFY(bytes.has_value());
        QVERIFY(*bytes > 0);
#else
        QSKIP("the available memory is only known on Windows and Linux");
#endif
    }

    void mailTargets_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("query");
        QTest::newRow("error report")
            << QStringLiteral("Revlane 1.1.0 error report")
            << QStringLiteral("Error code # 2\r\nDescription: No such file\r\nRoutine: SaveFile\r\nOS: Windows XP")
            << QStringLiteral("?subject=Revlane%201.1.0%20error%20report&body=Error%20code%20%23%202%0A"
                              "Description:%20No%20such%20file%0ARoutine:%20SaveFile%0AOS:%20Windows%20XP");
        QTest::newRow("about box link, empty body")
            << QStringLiteral("Revlane:") << QString() << QStringLiteral("?subject=Revlane:&body=");
        QTest::newRow("ampersand and percent in a path")
            << QStringLiteral("s") << QStringLiteral("'C:\\Mods & Cars\\100%\\data'")
            << QStringLiteral("?subject=s&body='C:\\Mods%20%26%20Cars\\100%25\\data'");
        QTest::newRow("blank lines and runs of blanks")
            << QStringLiteral("a  b") << QStringLiteral("x\r\n\r\n  y")
            << QStringLiteral("?subject=a%20%20b&body=x%0A%0A%20%20y");
        QTest::newRow("other characters stay as they are")
            << QStringLiteral("Revlane:") << QStringLiteral("a=b?c/d'e")
            << QStringLiteral("?subject=Revlane:&body=a=b?c/d'e");
    }
    void mailTargets()
    {
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(QString, query);
        const QString address = QStringLiteral("maker@example.org");
        const QString target = MailTarget(address, subject, body);
        QCOMPARE(target, QStringLiteral("mailto:") + address + query);

        // What a mail program makes of it, once the desktop has parsed the target: the
        // whole subject and body, each line break one line feed.
        const QUrl url = QUrl::fromEncoded(target.toUtf8(), QUrl::TolerantMode);
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.path(), address);
        QVERIFY(!url.hasFragment());
        const QUrlQuery parts(url);
        QCOMPARE(parts.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
        QVERIFY(parts.hasQueryItem(QStringLiteral("body")));
        QString lines = body;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(parts.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), lines);
    }
};

QTEST_GUILESS_MAIN(TestDiagnostics)
#include "test_diagnostics.moc"
