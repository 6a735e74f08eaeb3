#include "DiskFileSystem.h"

#include <fstream>
#include <functional>
#include <random>
#include <system_error>

#include "DiskCalls.h"
#include "ErrorReport.h"
#include "LinePieces.h"
#include "SystemError.h"
#include "Text.h"

namespace revlane::platform {

namespace {

std::string Describe(const std::filesystem::path& path)
{
    return "'" + text::PathText(path) + "'";
}

// Files are read and written in pieces of this size: large enough that the system is asked
// rarely, small enough to come from the heap and stay in the processor's caches.
constexpr size_t kReadPiece = 64 * 1024;
constexpr size_t kWritePiece = 256 * 1024;
// A large file's bytes are sent on to the disk every so many, while the rest is still being
// written: the final sync then has little left to wait for.
constexpr std::int64_t kStartWritingEvery = 8 * 1024 * 1024;

using Put = std::function<void(std::string_view)>;

// Hands `content` a way to put its bytes into the file, piece by piece.
void WriteInto(disk::OpenFile& file, const std::function<void(const Put&)>& content)
{
    std::int64_t offset = 0;
    std::int64_t started = 0;
    content([&](std::string_view piece) {
        file.Write(piece);
        offset += static_cast<std::int64_t>(piece.size());
        if (offset - started >= kStartWritingEvery) {
            file.StartWriting(started, offset - started);
            started = offset;
        }
    });
}

// Hands a regular file's content to `take` piece by piece.
template <class Take>
void ReadPieces(const std::filesystem::path& path, Take take)
{
    std::error_code ec;
    ClearSystemError();
    const auto status = std::filesystem::status(path, ec);
    if (ec)
        throw ModelError::FromSystem(SystemErrorOf(ec, SystemFault::ReadFailed), "Cannot read " + Describe(path));
    // A missing file is no error to the status call, and would pass for a device below; the
    // system still says why it found none.
    if (!std::filesystem::exists(status))
        throw ModelError::FromSystem(LastSystemError(SystemFault::NotFound), "Cannot read " + Describe(path));
    if (std::filesystem::is_directory(status))
        throw ModelError::FromSystem(SystemErrorCode(SystemFault::IsFolder), "Cannot read " + Describe(path) + ", a folder");
    // Devices and pipes may never end; only ordinary files are configuration files.
    if (!std::filesystem::is_regular_file(status))
        throw ModelError::FromSystem(SystemErrorCode(SystemFault::NotAFile),
                                     "Cannot read " + Describe(path) + ", not an ordinary file");

    ClearSystemError();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ModelError::FromSystem(LastSystemError(SystemFault::ReadFailed), "Cannot open " + Describe(path));
    // Pieces this large go from the system straight into our buffer, past the stream's own.
    const std::unique_ptr<char[]> buffer(new char[kReadPiece]);
    while (in) {
        in.read(buffer.get(), static_cast<std::streamsize>(kReadPiece));
        if (in.gcount() > 0)
            take(std::string_view(buffer.get(), static_cast<size_t>(in.gcount())));
    }
    if (in.bad())
        throw ModelError::FromSystem(LastSystemError(SystemFault::ReadFailed), "Cannot read " + Describe(path));
}

// A name of its own for each file a save writes: two saves at once never write into one file.
std::string UniqueSuffix()
{
    static std::mt19937_64 random{std::random_device{}()};
    static const char* const kDigits = "0123456789abcdef";
    std::string suffix = "-";
    for (std::uint64_t bits = random(), i = 0; i < 12; ++i, bits >>= 4)
        suffix += kDigits[bits & 15];
    return suffix;
}

}  // namespace

// A file WriteNew made, open until it is released.
class DiskFileSystem::Held {
public:
    explicit Held(disk::OpenFile file) : file_(std::move(file)) {}
    // It took another name: released, there is nothing left to remove.
    bool renamed = false;

private:
    disk::OpenFile file_;
};

DiskFileSystem::DiskFileSystem() = default;
DiskFileSystem::~DiskFileSystem() = default;

bool DiskFileSystem::Exists(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

std::string DiskFileSystem::ReadAll(const std::filesystem::path& path)
{
    std::string content;
    std::error_code ec;
    if (const auto size = std::filesystem::file_size(path, ec); !ec)
        content.reserve(static_cast<size_t>(size));
    ReadPieces(path, [&](std::string_view piece) { content.append(piece); });
    return content;
}

void DiskFileSystem::ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                               std::vector<LineEnd>& ends)
{
    text::LineSplitter split(lines, &ends);
    ReadPieces(path, [&](std::string_view piece) { split.Feed(piece); });
    split.Finish();
}

void DiskFileSystem::WriteAll(const std::filesystem::path& path, const std::string& bytes)
{
    disk::OpenFile file = disk::OpenFile::Create(path, false);
    WriteInto(file, [&](const Put& put) {
        for (size_t at = 0; at < bytes.size(); at += kWritePiece)
            put(std::string_view(bytes).substr(at, kWritePiece));
    });
    file.Sync();
    file.Close();
}

std::filesystem::path DiskFileSystem::WriteNew(const std::filesystem::path& target, const std::vector<std::string>& lines,
                                               const std::vector<LineEnd>& ends, std::string_view head)
{
    std::filesystem::path made;
    disk::OpenFile file;
    for (int attempt = 0; !file.IsOpen(); ++attempt) {
        if (attempt == 100)
            throw ModelError::FromSystem(SystemErrorCode(SystemFault::WriteFailed),
                                         "Cannot find a free name beside " + Describe(target));
        made = target;
        made += kSaveSuffix;
        made += UniqueSuffix();
        file = disk::OpenFile::Create(made, true);
    }
    try {
        file.TakeAccessOf(target);
        WriteInto(file, [&](const Put& put) {
            if (!head.empty())
                put(head);
            PutInPieces(lines, ends, kWritePiece, put);
        });
        file.Sync();
    } catch (...) {
        file = disk::OpenFile();
        Remove(made);
        throw;
    }
    held_[made] = std::make_unique<Held>(std::move(file));
    return made;
}

void DiskFileSystem::Release(const std::filesystem::path& made) noexcept
{
    const auto held = held_.find(made);
    const bool renamed = held != held_.end() && held->second->renamed;
    if (held != held_.end())
        held_.erase(held);
    if (!renamed)
        Remove(made);
}

void DiskFileSystem::RemoveLeftovers(const std::filesystem::path& target) noexcept
{
    try {
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        // The save's own file, and the one a copy of the backup was written to, in one look at the folder.
        const auto name = target.filename().native();
        const auto suffix = std::filesystem::path(kSaveSuffix).native();
        const auto ours = [&](const std::filesystem::path::string_type& entry, const std::filesystem::path::string_type& prefix) {
            return entry.size() >= prefix.size() + suffix.size() && entry.compare(0, prefix.size(), prefix) == 0
                   && entry.compare(prefix.size(), suffix.size(), suffix) == 0;
        };
        const auto backup = name + std::filesystem::path(".bak").native();
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            const auto entryName = entry.path().filename().native();
            if ((ours(entryName, name) || ours(entryName, backup)) && !held_.count(entry.path()))
                disk::TryRemoveUnheld(entry.path());
        }
    } catch (...) {
        // A folder that cannot be listed keeps what it holds; the save goes on.
    }
}

void DiskFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    disk::Rename(from, to);
    if (const auto held = held_.find(from); held != held_.end())
        held->second->renamed = true;
}

void DiskFileSystem::HardLink(const std::filesystem::path& from, const std::filesystem::path& to)
{
    disk::HardLink(from, to);
}

void DiskFileSystem::SyncFolder(const std::filesystem::path& folder)
{
    disk::SyncFolder(folder);
}

void DiskFileSystem::Remove(const std::filesystem::path& path) noexcept
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

FileStamp DiskFileSystem::Stamp(const std::filesystem::path& path)
{
    return disk::Stamp(path);
}

DiskFileSystem& Disk()
{
    static DiskFileSystem disk;
    return disk;
}

}  // namespace revlane::platform
