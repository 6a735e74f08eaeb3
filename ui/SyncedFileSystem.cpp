#include "SyncedFileSystem.h"

#include <QSaveFile>
#include <QString>

#include <cerrno>

#if defined(Q_OS_LINUX)
#include <fcntl.h>
#endif

#include "ErrorReport.h"
#include "Text.h"

namespace revlane::ui {

namespace {

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
    errno = 0;
    QSaveFile file(QString::fromStdU16String(path.u16string()));
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
                         && file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size())
                         && file.commit();
    if (!written) {
        const int err = errno != 0 ? errno : EIO;
        throw ModelError(err, "Cannot write '" + text::PathText(path) + "': " + file.errorString().toStdString());
    }
}

void SyncedFileSystem::WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    // As WriteAll, in large pieces: the file goes out unbuffered, so every piece's write is
    // checked, and a large table is never copied whole.
    errno = 0;
    QSaveFile file(QString::fromStdU16String(path.u16string()));
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (written) {
        qint64 offset = 0;
        qint64 started = 0;
        text::WriteLinesCrLf(lines, kPieceSize, [&](std::string_view piece) {
            written = written && file.write(piece.data(), static_cast<qint64>(piece.size())) == static_cast<qint64>(piece.size());
            offset += static_cast<qint64>(piece.size());
            if (written && offset - started >= kStartWritingEvery) {
                StartWriting(file, started, offset - started);
                started = offset;
            }
        });
        written = written && file.commit();
    }
    if (!written) {
        const int err = errno != 0 ? errno : EIO;
        throw ModelError(err, "Cannot write '" + text::PathText(path) + "': " + file.errorString().toStdString());
    }
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
