#include "SyncedFileSystem.h"

#include <QSaveFile>
#include <QString>

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

}  // namespace

bool SyncedFileSystem::Exists(const std::filesystem::path& path)
{
    return StdFileSystem().Exists(path);
}

std::string SyncedFileSystem::ReadAll(const std::filesystem::path& path)
{
    return StdFileSystem().ReadAll(path);
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
