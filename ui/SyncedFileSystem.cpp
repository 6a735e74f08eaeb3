#include "SyncedFileSystem.h"

#include <QSaveFile>
#include <QString>

#if defined(Q_OS_LINUX)
#include <fcntl.h>
#endif

#include "ErrorReport.h"
#include "SystemError.h"
#include "Text.h"

namespace revlane::ui {

namespace {

// The system's number and text for the failure, read before anything else can overwrite them.
[[noreturn]] void ThrowWriteFailure(const std::filesystem::path& path, const QSaveFile& file, SystemFault fallback)
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

void StartWriting([[maybe_unused]] QSaveFile& file, [[maybe_unused]] qint64 from, [[maybe_unused]] qint64 length)
{
#if defined(Q_OS_LINUX)
    // Only a head start: whether it worked or not, the commit's sync makes sure of every byte.
    ::sync_file_range(file.handle(), from, length, SYNC_FILE_RANGE_WRITE);
#endif
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
    // QSaveFile writes beside the file and syncs it to the disk before it takes the name. Unbuffered,
    // so that a full disk fails the write itself: a failure while a buffer is flushed at commit
    // would pass unnoticed and leave an empty file to take the name.
    QSaveFile file(QString::fromStdU16String(path.u16string()));
    ClearSystemError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        ThrowWriteFailure(path, file, SystemFault::WriteFailed);
    ClearSystemError();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        ThrowWriteFailure(path, file, SystemFault::DiskFull);
    ClearSystemError();
    if (!file.commit())
        ThrowWriteFailure(path, file, SystemFault::WriteFailed);
}

void SyncedFileSystem::WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    // As WriteAll, in large pieces: the file goes out unbuffered, so every piece's write is
    // checked, and a large table is never copied whole.
    QSaveFile file(QString::fromStdU16String(path.u16string()));
    ClearSystemError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        ThrowWriteFailure(path, file, SystemFault::WriteFailed);
    qint64 offset = 0;
    qint64 started = 0;
    text::WriteLinesCrLf(lines, kPieceSize, [&](std::string_view piece) {
        ClearSystemError();
        if (file.write(piece.data(), static_cast<qint64>(piece.size())) != static_cast<qint64>(piece.size()))
            ThrowWriteFailure(path, file, SystemFault::DiskFull);
        offset += static_cast<qint64>(piece.size());
        if (offset - started >= kStartWritingEvery) {
            StartWriting(file, started, offset - started);
            started = offset;
        }
    });
    ClearSystemError();
    if (!file.commit())
        ThrowWriteFailure(path, file, SystemFault::WriteFailed);
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

}  // namespace revlane::ui
