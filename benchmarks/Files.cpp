#include "Files.h"

#include <fstream>
#include <iostream>
#include <stdexcept>

#include "Installation.h"
#include "Text.h"

namespace revlane::bench {

namespace fs = std::filesystem;

namespace {

int errorCount = 0;

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

BenchInstall Lay(const fs::path& work, Game game, const std::string& name, const std::string& label)
{
    BenchInstall install{label, game, work / name, {}};
    fs::remove_all(install.folder);
    fs::create_directories(install.folder / "data");
    install.exe = ExecutablePath(install.folder, game);
    WriteBytes(install.exe, "");
    return install;
}

// A copy the bench may save over: the games' files may come read-only, and a read-only file is
// never saved over.
void CopyWritable(const fs::path& from, const fs::path& to)
{
    fs::remove(to);
    fs::copy_file(from, to);
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace

fs::path BenchInstall::File(FileKind kind) const
{
    return kind == FileKind::DefaultIde ? DefaultFilePath(folder) : HandlingFilePath(folder);
}

BenchInstall InstallStock(const fs::path& fixtures, const fs::path& work, Game game, const std::string& name)
{
    const bool vice = game == Game::ViceCity;
    BenchInstall install = Lay(work, game, name, vice ? "Vice City" : "GTA III");
    const fs::path from = fixtures / (vice ? "vc" : "gta3") / "data";
    for (const char* file : {"default.ide", "handling.cfg"})
        CopyWritable(from / file, install.folder / "data" / file);
    return install;
}

BenchInstall InstallLarge(const fs::path& fixtures, const fs::path& work, int lines, const std::string& name)
{
    const std::string digits = std::to_string(lines);
    std::string label;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            label += ',';
        label += digits[i];
    }
    BenchInstall install = Lay(work, Game::ViceCity, name, label + " lines");
    const fs::path from = fixtures / "vc" / "data";
    CopyWritable(from / "default.ide", install.folder / "data" / "default.ide");

    const std::vector<std::string> stock = text::SplitLines(ReadBytes(from / "handling.cfg"));
    size_t first = 0;
    while (first < stock.size() && !text::StartsWith(stock[first], "LANDSTAL"))
        ++first;
    size_t end = first;
    while (end < stock.size() && !text::StartsWith(stock[end], "; A"))
        ++end;
    if (end == first || end == stock.size())
        throw std::runtime_error("the stock handling.cfg has no vehicle section");

    std::ofstream out(install.File(FileKind::HandlingCfg), std::ios::binary | std::ios::trunc);
    const auto put = [&](const std::string& line) { out << line << "\r\n"; };
    const size_t tail = stock.size() - end;
    size_t written = 0;
    for (size_t i = 0; i < first; ++i, ++written)
        put(stock[i]);
    for (size_t i = first; written + tail < static_cast<size_t>(lines); ++written) {
        put(stock[i]);
        if (++i == end)
            i = first;
    }
    for (size_t i = end; i < stock.size(); ++i)
        put(stock[i]);
    if (!out.flush())
        throw std::runtime_error("cannot write the large handling.cfg");
    return install;
}

std::uintmax_t FileSize(const fs::path& path)
{
    return fs::file_size(path);
}

MsgAnswer QuietMessages::ShowMessage(const std::string&, MsgButtons buttons, MsgIcon)
{
    ++shown;
    return buttons == MsgButtons::OK || buttons == MsgButtons::OKCancel ? MsgAnswer::OK : MsgAnswer::Yes;
}

void LoudErrors::ShowInternalError(const std::string& report)
{
    ++errorCount;
    std::cerr << "internal error during a measurement:\n" << report << "\n";
}

int LoudErrors::Count()
{
    return errorCount;
}

}  // namespace revlane::bench
