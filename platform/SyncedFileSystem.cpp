#include "SyncedFileSystem.h"

#include <QFile>
#include <QString>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <functional>
#include <string_view>

#include "ErrorReport.h"
#include "SystemError.h"
#include "Text.h"

namespace revlane::platform {

namespace {

// The system's number and text for the failure, read before anything else can overwrite them.
[[noreturn]] void ThrowWriteFailure(const std::filesystem::path& path, const QFile& file, SystemFault fallback)
{
    const std::string what = "Cannot write '" + text::PathText(path) + "'";
    if (const int code = LastSystemError())
        throw ModelError::FromSystem(code, what);
    // No number of the system's: the failure is Qt's own, and so is the better text.
    throw ModelError(SystemErrorCode(fallback), what + ": " + file.errorString().toStdString());
}

// Saved files are written in pieces of this size, each one write of the system's.
constexpr size_t kPieceSize = 256 * 1024;
// A large file's bytes are sent on to the disk every so many, while the rest is still being
// written: the final sync then has little left to wait for.
constexpr qint64 kStartWritingEvery = 8 * 1024 * 1024;

void StartWriting([[maybe_unused]] int handle, [[maybe_unused]] qint64 from, [[maybe_unused]] qint64 length)
{
#if defined(Q_OS_LINUX)
    // Only a head start: whether it worked or not, the final sync makes sure of every byte.
    ::sync_file_range(handle, from, length, SYNC_FILE_RANGE_WRITE);
#endif
}

bool SyncToDisk(int handle)
{
#if defined(Q_OS_WIN)
    return ::_commit(handle) == 0;
#else
    return ::fsync(handle) == 0;
#endif
}

// Creates or empties the file and hands `write` a way to put pieces into it, then syncs it to the
// disk. Unbuffered, so that a full disk fails the write of the piece it refuses.
void WriteFile(const std::filesystem::path& path, const std::function<void(const std::function<void(std::string_view)>&)>& write)
{
    QFile file(QString::fromStdU16String(path.u16string()));
    ClearSystemError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        ThrowWriteFailure(path, file, SystemFault::WriteFailed);
    qint64 offset = 0;
    qint64 started = 0;
    write([&](std::string_view piece) {
        ClearSystemError();
        if (file.write(piece.data(), static_cast<qint64>(piece.size())) != static_cast<qint64>(piece.size()))
            ThrowWriteFailure(path, file, SystemFault::DiskFull);
        offset += static_cast<qint64>(piece.size());
        if (offset - started >= kStartWritingEvery) {
            StartWriting(file.handle(), started, offset - started);
            started = offset;
        }
    });
    ClearSystemError();
    if (!SyncToDisk(file.handle()))
        ThrowWriteFailure(path, file, SystemFault::WriteFailed);
    file.close();
    if (file.error() != QFileDevice::NoError)
        ThrowWriteFailure(path, file, SystemFault::WriteFailed);
}

}  // namespace

bool SyncedFileSystem::Exists(const std::filesystem::path& path)
{
    return StdFileSystem().Exists(path);
}

std::string SyncedFileSystem::ReadAll(const std::filesystem::path& path)
{
    return StdFileSystem().ReadAll(path);
}

void SyncedFileSystem::ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines)
{
    StdFileSystem().ReadLines(path, lines);
}

void SyncedFileSystem::WriteAll(const std::filesystem::path& path, const std::string& bytes)
{
    WriteFile(path, [&](const std::function<void(std::string_view)>& put) {
        for (size_t at = 0; at < bytes.size(); at += kPieceSize)
            put(std::string_view(bytes).substr(at, kPieceSize));
    });
}

void SyncedFileSystem::WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    // In large pieces: a large table is never copied whole.
    WriteFile(path, [&](const std::function<void(std::string_view)>& put) { text::WriteLinesCrLf(lines, kPieceSize, put); });
}

void SyncedFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    StdFileSystem().Rename(from, to);
}

void SyncedFileSystem::HardLink(const std::filesystem::path& from, const std::filesystem::path& to)
{
    StdFileSystem().HardLink(from, to);
}

void SyncedFileSystem::Remove(const std::filesystem::path& path) noexcept
{
    StdFileSystem().Remove(path);
}

}  // namespace revlane::platform
