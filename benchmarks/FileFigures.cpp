#include <QCoreApplication>
#include <QPushButton>
#include <QString>
#include <QRadioButton>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "Figures.h"
#include "Floors.h"
#include "Model.h"
#include "Peer.h"
#include "Window.h"

namespace revlane::bench {

namespace fs = std::filesystem;

namespace {

FileKind Other(FileKind kind)
{
    return kind == FileKind::DefaultIde ? FileKind::HandlingCfg : FileKind::DefaultIde;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

[[noreturn]] void Fail(const std::string& what, const fs::path& path)
{
    throw std::runtime_error(what + " " + path.string() + ": " + std::strerror(errno));
}

void SyncFolder(const fs::path& path)
{
    const int folder = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0 || ::fsync(folder) != 0 || ::close(folder) != 0)
        Fail("cannot sync the folder of", path);
}

// What any program pays to put bytes under a file's name as a save must: a look at the file (has
// another program changed it, may it be written, with which permissions) and at its folder (what
// saves cut short left there), a file of its own, written whole with those permissions and synced,
// renamed into place, the new name synced, and the file's status as saved. A large file is sent on
// to the disk while the rest is written, so that the sync has little left to wait for. The first
// save keeps the file as it was first, as a second name for it, synced before the file is replaced.
void SaveAsAnyProgramMust(const fs::path& temp, const fs::path& target, const std::string& bytes, bool first)
{
    struct stat status {};
    ::stat(target.c_str(), &status);
    if (DIR* folder = ::opendir(target.parent_path().c_str())) {
        while (::readdir(folder))
            ;
        ::closedir(folder);
    }
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        Fail("cannot create", temp);
    ::fchmod(fd, status.st_mode & 07777);
    constexpr size_t kStartWritingEvery = 8 * 1024 * 1024;
    for (size_t done = 0, started = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, std::min(bytes.size() - done, kStartWritingEvery));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("cannot write", temp);
        done += static_cast<size_t>(n);
        if (done - started >= kStartWritingEvery) {
            ::sync_file_range(fd, static_cast<off_t>(started), static_cast<off_t>(done - started), SYNC_FILE_RANGE_WRITE);
            started = done;
        }
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        Fail("cannot sync", temp);
    if (first) {
        const fs::path backup = target.string() + ".bak";
        if (::link(target.c_str(), backup.c_str()) != 0)
            Fail("cannot link", backup);
        SyncFolder(target);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0)
        Fail("cannot rename", temp);
    SyncFolder(target);
    ::stat(target.c_str(), &status);
}

void CheckOpen(const Document& file, const fs::path& path)
{
    if (!file.IsOpen())
        throw std::runtime_error("the file was not read: " + path.string());
}

void CheckRead(const floor::Lines& lines, const fs::path& path)
{
    if (lines.text.empty() || lines.rows.empty())
        throw std::runtime_error("the floor read no rows from " + path.string());
}

}  // namespace

std::string FigureName(const std::string& what, const BenchInstall& install, FileKind kind)
{
    return what + ", " + install.label + " " + (kind == FileKind::DefaultIde ? "default.ide" : "handling.cfg");
}

void ModelOpenFigure(Table& table, const BenchInstall& install, FileKind kind, double limit, Rounds rounds)
{
    const fs::path path = install.File(kind);
    std::optional<Model> model;
    std::optional<floor::Lines> lines;
    const Work value{[&] { model->Open(kind); }, [&] { model.emplace(install); },
                     [&] {
                         CheckOpen(model->file, path);
                         model.reset();
                     }};
    const Work floor{[&] { floor::Read(path, kind, install.game, *lines); }, [&] { lines.emplace(); },
                     [&] {
                         CheckRead(*lines, path);
                         lines.reset();
                     }};
    const Medians m = SampleInTurns(value, floor, rounds);
    table.Add({FigureName("model open", install, kind), m.value, m.floor, "ms", Goal::RatioAtMost, limit,
               "a new document; floor: read() into new strings, the rows found"});
}

void ModelReloadFigure(Table& table, const BenchInstall& install, FileKind kind, double limit, Rounds rounds)
{
    const fs::path path = install.File(kind);
    // Both keep what they read the first time, as a reload does, and read into it again.
    Model model(install);
    model.Open(kind);
    floor::Lines lines;
    floor::Read(path, kind, install.game, lines);
    const Work value{[&] { model.file.Read(); }, {}, [&] { CheckOpen(model.file, path); }};
    const Work floor{[&] { floor::Read(path, kind, install.game, lines); }, {}, [&] { CheckRead(lines, path); }};
    const Medians m = SampleInTurns(value, floor, rounds);
    table.Add({FigureName("model reload", install, kind), m.value, m.floor, "ms", Goal::RatioAtMost, limit,
               "the same document; floor: read() into the same strings, the rows found"});
}

void ModelOpenChildFigure(Table& table, const BenchInstall& install, const fs::path& work, const fs::path& self,
                          double limit, int rounds)
{
    std::vector<double> times[2];
    for (int round = 0; round < rounds; ++round)
        for (int i = 0; i < 2; ++i) {
            const int which = (round + i) % 2;
            const auto said = RunChild({self.string(), "--open-child", which == 0 ? "revlane" : "floor", install.folder.string()}, work);
            times[which].push_back(std::stod(said.at("open")));
        }
    table.Add({FigureName("model open", install, FileKind::HandlingCfg), Median(times[0]), Median(times[1]), "ms",
               Goal::RatioAtMost, limit, "a new document, each in a fresh process; floor: read() into new strings, the rows found"});
}

int OpenChild(const std::string& side, const fs::path& folder)
{
    const BenchInstall install{"", Game::ViceCity, folder, folder / "gta-vc.exe"};
    const fs::path path = install.File(FileKind::HandlingCfg);
    double ms = 0;
    if (side == "revlane") {
        Model model(install);
        const auto start = Clock::now();
        model.Open(FileKind::HandlingCfg);
        ms = MillisecondsSince(start);
        CheckOpen(model.file, path);
    } else {
        floor::Lines lines;
        const auto start = Clock::now();
        floor::Read(path, FileKind::HandlingCfg, Game::ViceCity, lines);
        ms = MillisecondsSince(start);
        CheckRead(lines, path);
    }
    std::printf("open %.6f\n", ms);
    return LoudErrors::Count() == 0 ? 0 : 1;
}

void WindowOpenFigure(Table& table, BenchWindow& window, PeerWindow& peer, const BenchInstall& install, FileKind kind,
                      Rounds rounds)
{
    // Each sample's time, and the paint of the whole window in the state it left.
    std::vector<double> paints[2];
    const Work value{[&] {
                         window.Click(kind);
                         UntilIdle();
                     },
                     [&] {
                         window.Click(Other(kind));
                         UntilIdle();
                     },
                     [&] {
                         CheckOpen(window.File(), install.File(kind));
                         paints[0].push_back(PaintWhole(window.Window()));
                     }};
    const Work floor{[&] {
                         peer.Open(install.File(kind), kind);
                         UntilIdle();
                     },
                     [&] {
                         peer.Open(install.File(Other(kind)), Other(kind));
                         UntilIdle();
                     },
                     [&] {
                         CheckRead(peer.Model().Lines(), install.File(kind));
                         paints[1].push_back(PaintWhole(&peer));
                     }};
    const Series s = SampleSeries(value, floor, rounds);
    std::vector<double> beyond[2];
    for (size_t i = 0; i < s.value.size(); ++i) {
        beyond[0].push_back(s.value[i] - paints[0][i]);
        beyond[1].push_back(s.floor[i] - paints[1][i]);
    }
    char note[240];
    std::snprintf(note, sizeof note,
                  "Revlane's cost beyond a paint of its window: %.2f ms less %.2f; the peer's: %.2f ms less %.2f; the other file open before",
                  Median(s.value), Median(paints[0]), Median(s.floor), Median(paints[1]));
    table.Add({FigureName("window open", install, kind), Median(beyond[0]), Median(beyond[1]), "ms", Goal::RatioAtMost,
               1.0, note});
}

void SaveFigures(Table& table, BenchWindow& window, const BenchInstall& install, FileKind kind, double limit,
                 Rounds rounds)
{
    const fs::path path = install.File(kind);
    window.Click(Other(kind));
    UntilIdle();
    window.Click(kind);
    UntilIdle();
    CheckOpen(window.File(), path);
    fs::remove(Document::BackupPathFor(path));
    window.SaveButton()->click();
    UntilIdle();
    const std::string bytes = ReadBytes(path);
    const fs::path temp = install.folder / "data" / "floor.tmp";
    const fs::path target = install.folder / "data" / "floor.out";
    const fs::path backup = target.string() + ".bak";
    SaveAsAnyProgramMust(temp, target, bytes, false);
    for (const bool first : {true, false}) {
        const Work value{[&] {
                             window.SaveButton()->click();
                             UntilIdle();
                         },
                         [&] {
                             if (first)
                                 fs::remove(Document::BackupPathFor(path));
                         },
                         [&] {
                             if (first && !fs::exists(Document::BackupPathFor(path)))
                                 throw std::runtime_error("the first save kept no backup of " + path.string());
                         }};
        const Work floor{[&] {
                             SaveAsAnyProgramMust(temp, target, bytes, first);
                             UntilIdle();
                         },
                         [&] {
                             if (first)
                                 fs::remove(backup);
                         }};
        const Medians m = SampleInTurns(value, floor, rounds);
        if (FileSize(path) != bytes.size())
            throw std::runtime_error("the saved file changed its size: " + path.string());
        table.Add({FigureName(first ? "first save" : "save", install, kind), m.value, m.floor, "ms", Goal::RatioAtMost,
                   limit,
                   first ? "the backup kept; floor: as a save, with a link to the file as it was, the folder synced"
                         : "floor: stat, folder listed, own file written with writeback started + fsync, rename, folder fsync"});
    }
    fs::remove(target);
    fs::remove(backup);
}

}  // namespace revlane::bench
