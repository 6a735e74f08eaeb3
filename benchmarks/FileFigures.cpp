#include <QCoreApplication>
#include <QPushButton>
#include <QString>
#include <QRadioButton>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "Figures.h"
#include "Model.h"
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

// What any program pays to put bytes under a file's name as a save must: a look at the file (has
// another program changed it, may it be written, with which permissions) and at its folder (what
// saves cut short left there), a file of its own, written whole with those permissions and synced,
// renamed into place, the new name synced, and the file's status as saved.
void SaveAsAnyProgramMust(const fs::path& temp, const fs::path& target, const std::string& bytes)
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
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("cannot write", temp);
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        Fail("cannot sync", temp);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        Fail("cannot rename", temp);
    const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0 || ::fsync(folder) != 0 || ::close(folder) != 0)
        Fail("cannot sync the folder of", target);
    ::stat(target.c_str(), &status);
}

void CheckOpen(const Document& file, const fs::path& path)
{
    if (!file.IsOpen())
        throw std::runtime_error("the file was not read: " + path.string());
}

}  // namespace

std::string FigureName(const std::string& what, const BenchInstall& install, FileKind kind)
{
    return what + ", " + install.label + " " + (kind == FileKind::DefaultIde ? "default.ide" : "handling.cfg");
}

void ModelOpenFigure(Table& table, const BenchInstall& install, FileKind kind, const CaptionTable& captions,
                     double limit, Rounds rounds)
{
    const fs::path path = install.File(kind);
    // One model for every open, as the window keeps one grid and one file for its whole run.
    Model model(install);
    std::vector<std::string> lines;
    const Work value{[&] { model.Open(kind, captions); }, {}, [&] { CheckOpen(model.file, path); }};
    const Work floor{[&] { lines = GetlineLines(path); }, {},
                     [&] {
                         if (lines.empty())
                             throw std::runtime_error("getline read nothing from " + path.string());
                         lines = {};
                     }};
    const Medians m = SampleInTurns(value, floor, rounds);
    table.Add({FigureName("model open", install, kind), m.value, m.floor, "ms", Goal::RatioAtMost, limit,
               "floor: ifstream + getline"});
}

void WindowOpenFigure(Table& table, BenchWindow& window, const BenchInstall& install, FileKind kind,
                      const CaptionTable& captions, double limit, bool getlineFloor, Rounds rounds)
{
    std::optional<Model> side;
    std::vector<std::string> lines;
    const Work value{[&] {
                         window.Click(kind);
                         window.PaintWhole();
                     },
                     [&] {
                         window.Click(Other(kind));
                         BenchWindow::Settle();
                         window.MarkAllForPainting();
                     },
                     [&] {
                         CheckOpen(window.File(), install.File(kind));
                         BenchWindow::Settle();
                     }};
    // The window shows the same file while the floor paints it.
    const Work floor{[&] {
                         if (getlineFloor)
                             lines = GetlineLines(install.File(kind));
                         else
                             side->Open(kind, captions);
                         window.PaintWhole();
                     },
                     [&] {
                         window.Click(kind);
                         BenchWindow::Settle();
                         side.emplace(install);
                         window.MarkAllForPainting();
                     },
                     [&] {
                         if (!getlineFloor)
                             CheckOpen(side->file, install.File(kind));
                         side.reset();
                         lines = {};
                         BenchWindow::Settle();
                     }};
    const Medians m = SampleInTurns(value, floor, rounds);
    table.Add({FigureName("window open", install, kind), m.value, m.floor, "ms", Goal::RatioAtMost, limit,
               getlineFloor ? "floor: ifstream + getline, and one paint" : "floor: model open + one paint"});
}

void EditFigure(Table& table, BenchWindow& window, const BenchInstall& install, double limit, Rounds rounds)
{
    window.Click(FileKind::HandlingCfg);
    BenchWindow::Settle();
    CheckOpen(window.File(), install.File(FileKind::HandlingCfg));
    int typed = 0;
    const Work value{[&] {
                         window.GoToEnd(true);
                         window.TypeValue(QString::number(1000 + typed++ % 2) + QStringLiteral(".0"));
                         window.PaintWhole();
                     },
                     [&] {
                         window.GoToEnd(false);
                         BenchWindow::Settle();
                         window.MarkAllForPainting();
                     },
                     [] { BenchWindow::Settle(); }};
    // The same window, at the last vehicle, painted.
    const Work floor{[&] { window.PaintWhole(); },
                     [&] {
                         window.GoToEnd(true);
                         BenchWindow::Settle();
                         window.MarkAllForPainting();
                     },
                     [] { BenchWindow::Settle(); }};
    const Medians m = SampleInTurns(value, floor, rounds);
    table.Add({FigureName("last vehicle edited", install, FileKind::HandlingCfg), m.value, m.floor, "ms",
               Goal::RatioAtMost, limit, "floor: one paint; Ctrl+End, a value typed, Enter, a paint"});
}

void SaveFigure(Table& table, BenchWindow& window, const BenchInstall& install, FileKind kind, double limit,
                Rounds rounds)
{
    window.Click(Other(kind));
    BenchWindow::Settle();
    window.Click(kind);
    BenchWindow::Settle();
    CheckOpen(window.File(), install.File(kind));
    // The first save also keeps the backup; every later one is what a user waits for.
    window.SaveButton()->click();
    BenchWindow::Settle();
    const std::string bytes = ReadBytes(install.File(kind));
    const fs::path temp = install.folder / "data" / "floor.tmp";
    const fs::path target = install.folder / "data" / "floor.out";
    const Work value{[&] { window.SaveButton()->click(); }, {}, [] { BenchWindow::Settle(); }};
    const Work floor{[&] { SaveAsAnyProgramMust(temp, target, bytes); }};
    const Medians m = SampleInTurns(value, floor, rounds);
    if (FileSize(install.File(kind)) != bytes.size())
        throw std::runtime_error("the saved file changed its size: " + install.File(kind).string());
    fs::remove(target);
    table.Add({FigureName("save", install, kind), m.value, m.floor, "ms", Goal::RatioAtMost, limit,
               "floor: stat, folder listed, own file written + fsync, rename, folder fsync"});
}

}  // namespace revlane::bench
