#pragma once

// Stand-ins for the model's ports that remember what the user would have been shown.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <stdexcept>
#include <filesystem>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "ConfigFile.h"
#include "FileSystem.h"
#include "Grid.h"
#include "Ports.h"
#include "Views.h"

Q_DECLARE_METATYPE(revlane::FileKind)
Q_DECLARE_METATYPE(revlane::Game)

namespace revlane::test {

struct ShownMessage {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
};

class FakeMessages : public MessagePort {
public:
    std::vector<ShownMessage> shown;
    std::deque<MsgAnswer> answers;  // answered in turn; OK, or Yes, when none is left

    MsgAnswer ShowMessage(const std::string& text, MsgButtons buttons, MsgIcon icon) override
    {
        shown.push_back({text, buttons, icon});
        if (!answers.empty()) {
            const MsgAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes : MsgAnswer::OK;
    }
};

// A message box that fails, for the reporting path of the operations that show one.
struct ThrowingMessages : FakeMessages {
    MsgAnswer ShowMessage(const std::string&, MsgButtons, MsgIcon) override { throw std::runtime_error("failed"); }
};

class FakeErrors : public InternalErrorPort {
public:
    std::vector<std::string> reports;
    std::string OsName() override { return "Test OS 1.0"; }
    void ShowInternalError(const std::string& report) override { reports.push_back(report); }
};

class FixedClock : public ClockPort {
public:
    std::string date = "Sunday, 6 December 2026";
    std::string time = "10:15:30 UTC";
    std::string LongDate() override { return date; }
    std::string LongTime() override { return time; }
};

// A ConfigFile with fakes on every port and a grid of its own.
struct Harness {
    Grid grid;
    FakeMessages messages;
    FakeErrors errors;
    FixedClock clock;
    Installation install;
    ConfigFile file;

    explicit Harness(FileSystem& fs = StdFileSystem()) : file(grid, install, ConfigFile::Ports{messages, errors, clock, fs}, "1.1.0") {}

    // Opens the file at the path as the view of its kind and game opens it.
    void Open(FileKind kind, Game game, const std::filesystem::path& path)
    {
        (kind == FileKind::DefaultIde ? install.DefaultFile : install.HandlingFile) = path;
        CaptionTable captions;
        file.OpenView(kind, game, captions);
    }
};

// Every cell of a grid, row by row.
inline std::vector<std::vector<std::string>> GridCells(const Grid& grid)
{
    std::vector<std::vector<std::string>> rows(size_t(grid.Rows()));
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            rows[size_t(r)].push_back(grid.TextMatrix(r, c));
    return rows;
}

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

inline QString FixturesDir()
{
    return QStringLiteral(REVLANE_FIXTURES_DIR);
}

// The games' own four files as data rows: file (below the fixtures folder), kind, game.
inline void AddGameFileRows()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<FileKind>("kind");
    QTest::addColumn<Game>("game");
    QTest::newRow("gta3 default.ide") << "gta3/data/default.ide" << FileKind::DefaultIde << Game::Gta3;
    QTest::newRow("gta3 handling.cfg") << "gta3/data/handling.cfg" << FileKind::HandlingCfg << Game::Gta3;
    QTest::newRow("vc default.ide") << "vc/data/default.ide" << FileKind::DefaultIde << Game::ViceCity;
    QTest::newRow("vc handling.cfg") << "vc/data/handling.cfg" << FileKind::HandlingCfg << Game::ViceCity;
}

// A file of the given bytes in a temporary folder of its own, opened as the view of its kind opens it.
struct OpenedFile : Harness {
    QTemporaryDir dir;
    QString path;

    OpenedFile(FileKind kind, const QByteArray& bytes, Game game = Game::Gta3, FileSystem& fs = StdFileSystem())
        : Harness(fs), path(dir.filePath(kind == FileKind::DefaultIde ? "default.ide" : "handling.cfg"))
    {
        WriteBytes(path, bytes);
        Open(kind, game, FsPath(path));
    }
    std::string LineOf(int row) const { return file.FileLines().at(size_t(file.LineOfRow(row))); }
    // The first cells of a row.
    QStringList Row(int row, int cells) const
    {
        QStringList texts;
        for (int c = 0; c < cells; ++c)
            texts << QString::fromStdString(grid.TextMatrix(row, c));
        return texts;
    }
};

// The lines joined with CR LF, each ending with one.
inline QByteArray Lines(std::initializer_list<const char*> lines)
{
    QByteArray out;
    for (const char* line : lines)
        out += QByteArray(line) + "\r\n";
    return out;
}

}  // namespace revlane::test

// Skips the current test where the games' files are not beside the project.
#define REVLANE_REQUIRE_FIXTURE(relative, var)                                                               \
    const QString var = revlane::test::FixturesDir() + QStringLiteral("/") + QString(relative);               \
    if (!QFile::exists(var))                                                                                 \
        QSKIP(qPrintable(QStringLiteral("game data file %1 not found; set REVLANE_FIXTURES_DIR to the "      \
                                        "folder of the games' files to run this test").arg(var)))
