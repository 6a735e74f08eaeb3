#include "FileSystem.h"

#include <chrono>
#include <fstream>
#include <memory>
#include <system_error>

#include "ErrorReport.h"
#include "SystemError.h"
#include "Text.h"

namespace revlane {

namespace {

// Reports are UTF-8, whatever the system's code page.
std::string Describe(const std::filesystem::path& path)
{
    return "'" + text::PathText(path) + "'";
}

// Each failure is reported with the number and text of the system that failed, read at once,
// before another call can overwrite them.
[[noreturn]] void ThrowLast(const std::string& what, SystemFault fallback)
{
    throw ModelError::FromSystem(LastSystemError(fallback), what);
}

[[noreturn]] void ThrowCode(const std::error_code& ec, const std::string& what, SystemFault fallback)
{
    throw ModelError::FromSystem(SystemErrorOf(ec, fallback), what);
}

// Files are read and written in pieces of this size: large enough that the system is asked
// rarely, small enough to come from the heap and stay in the processor's caches.
constexpr size_t kPieceSize = 64 * 1024;

class RealFileSystem : public FileSystem {
public:
    bool Exists(const std::filesystem::path& path) override
    {
        std::error_code ec;
        return std::filesystem::exists(path, ec);
    }

    std::string ReadAll(const std::filesystem::path& path) override
    {
        std::string content;
        std::error_code ec;
        if (const auto size = std::filesystem::file_size(path, ec); !ec)
            content.reserve(static_cast<size_t>(size));
        ReadPieces(path, [&](std::string_view piece) { content.append(piece); });
        return content;
    }

    void ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines) override
    {
        text::LineSplitter split(lines);
        ReadPieces(path, [&](std::string_view piece) { split.Feed(piece); });
        split.Finish();
    }

    void WriteAll(const std::filesystem::path& path, const std::string& bytes) override
    {
        WritePieces(path, [&](std::ofstream& out) { out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())); });
    }

    void WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines) override
    {
        WritePieces(path, [&](std::ofstream& out) {
            text::WriteLinesCrLf(lines, kPieceSize, [&](std::string_view piece) {
                out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
            });
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
            ThrowCode(ec, "Cannot read " + Describe(path), SystemFault::ReadFailed);
        // A missing file is no error to the status call, and would pass for a device below; the
        // system still says why it found none.
        if (!std::filesystem::exists(status))
            ThrowLast("Cannot read " + Describe(path), SystemFault::NotFound);
        if (std::filesystem::is_directory(status))
            throw ModelError::FromSystem(SystemErrorCode(SystemFault::IsFolder),
                                         "Cannot read " + Describe(path) + ", a folder");
        // Devices and pipes may never end; only ordinary files are configuration files.
        if (!std::filesystem::is_regular_file(status))
            throw ModelError::FromSystem(SystemErrorCode(SystemFault::NotAFile),
                                         "Cannot read " + Describe(path) + ", not an ordinary file");

        ClearSystemError();
        std::ifstream in(path, std::ios::binary);
        if (!in)
            ThrowLast("Cannot open " + Describe(path), SystemFault::ReadFailed);
        // Pieces this large go from the system straight into our buffer, past the stream's own.
        const std::unique_ptr<char[]> buffer(new char[kPieceSize]);
        while (in) {
            in.read(buffer.get(), static_cast<std::streamsize>(kPieceSize));
            if (in.gcount() > 0)
                take(std::string_view(buffer.get(), static_cast<size_t>(in.gcount())));
        }
        if (in.bad())
            ThrowLast("Cannot read " + Describe(path), SystemFault::ReadFailed);
    }

    // Creates or empties the file, lets `put` write to it and flushes it.
    template <class Put>
    void WritePieces(const std::filesystem::path& path, Put put)
    {
        ClearSystemError();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out)
            ThrowLast("Cannot create " + Describe(path), SystemFault::WriteFailed);
        put(out);
        out.flush();
        if (!out)
            ThrowLast("Cannot write " + Describe(path), SystemFault::DiskFull);
        out.close();
        if (!out)
            ThrowLast("Cannot write " + Describe(path), SystemFault::DiskFull);
    }

    void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::error_code ec;
        ClearSystemError();
        std::filesystem::rename(from, to, ec);
        if (ec)
            ThrowCode(ec, "Cannot rename " + Describe(from) + " to " + Describe(to), SystemFault::WriteFailed);
    }

    void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::error_code ec;
        ClearSystemError();
        std::filesystem::create_hard_link(from, to, ec);
        if (ec)
            ThrowCode(ec, "Cannot link " + Describe(from) + " to " + Describe(to), SystemFault::WriteFailed);
    }

    void Remove(const std::filesystem::path& path) noexcept override
    {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

}  // namespace

void FileSystem::ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines)
{
    lines = text::SplitLines(ReadAll(path));
}

void FileSystem::WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    WriteAll(path, text::JoinLinesCrLf(lines));
}

FileStamp FileSystem::Stamp(const std::filesystem::path& path)
{
    using Clock = std::filesystem::file_time_type::clock;
    const auto nanoseconds = [](Clock::time_point t) {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
    };
    FileStamp stamp;
    stamp.takenAt = nanoseconds(Clock::now());
    std::error_code ec;
    const auto modified = std::filesystem::last_write_time(path, ec);
    if (ec)
        return stamp;
    stamp.exists = true;
    stamp.modified = nanoseconds(modified);
    // A folder has no size: it then differs from the file's, as it should.
    const auto size = std::filesystem::file_size(path, ec);
    stamp.size = ec ? static_cast<std::uintmax_t>(-1) : size;
    return stamp;
}

FileSystem& StdFileSystem()
{
    static RealFileSystem fs;
    return fs;
}

}  // namespace revlane
