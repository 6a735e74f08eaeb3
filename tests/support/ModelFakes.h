#pragma once

// Stand-ins for the model's ports that remember what the user would have been shown, and files
// opened in a document of their own.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "Document.h"
#include "DiskFileSystem.h"
#include "Ports.h"
#include "Views.h"

Q_DECLARE_METATYPE(revlane::FileKind)
Q_DECLARE_METATYPE(revlane::Game)
Q_DECLARE_METATYPE(revlane::MsgAnswer)

namespace revlane::test {

struct ShownMessage {
    std::string text;
    MsgButtons buttons;
};

class FakeMessages : public MessagePort {
public:
    std::vector<ShownMessage> shown;
    std::deque<MsgAnswer> answers;  // answered in turn; OK, or Yes, when none is left

    MsgAnswer ShowMessage(const std::string& text, MsgButtons buttons, MsgIcon) override
    {
        shown.push_back({text, buttons});
        const MsgAnswer yes = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes : MsgAnswer::OK;
        const MsgAnswer answer = answers.empty() ? yes : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    // The texts shown, in turn.
    QStringList Texts() const
    {
        QStringList texts;
        for (const ShownMessage& message : shown)
            texts << QString::fromStdString(message.text);
        return texts;
    }
};

class FakeErrors : public InternalErrorPort {
public:
    std::vector<std::string> reports;
    std::string OsName() override { return "Test OS 1.0"; }
    void ShowInternalError(const std::string& report) override { reports.push_back(report); }
};

class FixedClock : public ClockPort {
public:
    std::string LongDate() override { return "Sunday, 6 December 2026"; }
    std::string LongTime() override { return "10:15:30 UTC"; }
};

inline const char* kHeader = " Config file written by Revlane v1.1.0 - Last modified on Sunday, 6 December 2026 10:15:30 UTC";

inline std::filesystem::path FsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The lines joined with CR LF, each ending with one.
inline QByteArray Lines(std::initializer_list<const char*> lines)
{
    QByteArray out;
    for (const char* line : lines)
        out += QByteArray(line) + "\r\n";
    return out;
}

// Every cell of a document's rows, over its view's columns.
inline std::vector<std::vector<std::string>> Cells(const Document& document)
{
    std::vector<std::vector<std::string>> rows(size_t(document.RowCount()));
    for (int r = 0; r < document.RowCount(); ++r)
        for (int c = 0; c < document.Columns(); ++c)
            rows[size_t(r)].push_back(document.Cell(r, c));
    return rows;
}

// Compares cells given as "row,col=text".
inline void CheckCells(const Document& document, const QStringList& cells)
{
    for (const QString& cell : cells) {
        const int comma = cell.indexOf(','), equals = cell.indexOf('=');
        const int row = cell.left(comma).toInt(), col = cell.mid(comma + 1, equals - comma - 1).toInt();
        QCOMPARE(QString::fromLatin1(document.Cell(row, col)), cell.mid(equals + 1));
    }
}

// A document with fakes on every port.
struct Harness {
    FakeMessages messages;
    FakeErrors errors;
    FixedClock clock;
    Installation install;
    Document doc;

    explicit Harness(FileSystem& fs = platform::Disk()) : doc(install, Document::Ports{messages, errors, clock, fs}, "1.1.0") {}

    // Opens the file at the path as a file of its kind and game.
    bool Open(FileKind kind, Game game, const std::filesystem::path& path)
    {
        (kind == FileKind::DefaultIde ? install.DefaultFile : install.HandlingFile) = path;
        return doc.Open(kind, game);
    }
    bool Edit(int row, int col, const std::string& value) { return doc.EditCell(row, col, value).has_value(); }
};

// A file of the given bytes in a temporary folder of its own, opened as a file of its kind.
struct OpenedFile : Harness {
    QTemporaryDir dir;
    QString path;

    OpenedFile(FileKind kind, const QByteArray& bytes, Game game = Game::Gta3, FileSystem& fs = platform::Disk())
        : Harness(fs), path(dir.filePath(kind == FileKind::DefaultIde ? "default.ide" : "handling.cfg"))
    {
        WriteBytes(path, bytes);
        Open(kind, game, FsPath(path));
    }
    std::string LineOf(int row) const { return doc.LineAt(row); }
};

// Rows 0 to 2.
inline const QByteArray kSmallIde =
    "# models\r\ncars\r\n90, landstal, landstal, car, LANDSTAL, LANDSTK, richfamily, 10, 7, 0, 164, 0.8\r\n"
    "91, idaho, idaho, car, IDAHO, IDAHO, poorfamily, 10, 7, 0, 163, 0.64\r\n"
    "92, stinger, stinger, car, STINGER, STINGER, executive, 10, 6, 2ff0, 160, 0.7\r\nend\r\n# after\r\n";
// Row 0 LANDSTAL, row 1 the title bikes, row 2 BIKE, row 3 IDAHO.
inline const QByteArray kSmallCfg =
    "; header\r\n; second\r\nLANDSTAL        1700.0 2.0 5.0\r\n;- bikes\r\nBIKE           500.0 1.0\r\n"
    "IDAHO          1600.0 2.2\r\n; A end\r\n";

inline QString FixturesDir()
{
    return QStringLiteral(REVLANE_FIXTURES_DIR);
}

}  // namespace revlane::test

// Skips the current test where the games' files are not beside the project.
#define REVLANE_REQUIRE_FIXTURE(relative, var)                                                               \
    const QString var = revlane::test::FixturesDir() + QStringLiteral("/") + QString(relative);               \
    if (!QFile::exists(var))                                                                                 \
        QSKIP(qPrintable(QStringLiteral("game data file %1 not found; set REVLANE_FIXTURES_DIR to the "      \
                                        "folder of the games' files to run this test").arg(var)))
