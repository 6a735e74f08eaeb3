#include "DiskCalls.h"

#include <algorithm>
#include <utility>

#include "ErrorReport.h"
#include "SystemError.h"
#include "Text.h"

#ifdef _WIN32
#include "WindowsApi.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#endif

namespace revlane::platform::disk {

namespace {

std::string Describe(const std::filesystem::path& path)
{
    return "'" + text::PathText(path) + "'";
}

// The system's number and text for the failure, read before another call can overwrite them.
[[noreturn]] void Fail(const std::string& what, SystemFault fallback)
{
    throw ModelError::FromSystem(LastSystemError(fallback), what);
}

}  // namespace

OpenFile::~OpenFile()
{
    CloseQuietly();
}

void OpenFile::CloseQuietly() noexcept
{
    if (IsOpen()) {
        try {
            Close();
        } catch (...) {
            // Only a file given up on is closed here; its failure tells nothing more.
        }
    }
}

OpenFile::OpenFile(OpenFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, -1))
{
}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept
{
    if (this != &other) {
        CloseQuietly();
        path_ = std::move(other.path_);
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

bool OpenFile::IsOpen() const
{
    return handle_ != -1;
}

#ifdef _WIN32

namespace {

HANDLE Native(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// FILETIME's hundreds of nanoseconds since 1601, as nanoseconds since 1970.
std::int64_t Nanoseconds(std::int64_t fileTime)
{
    constexpr std::int64_t kFrom1601To1970 = 116444736000000000LL;
    return (fileTime - kFrom1601To1970) * 100;
}

}  // namespace

OpenFile OpenFile::Create(const std::filesystem::path& path, bool fresh)
{
    ClearSystemError();
    // Others may read it, but not write it or take it away while it is held; a fresh file may still
    // be renamed by its own save, which holds it until then.
    const DWORD share = fresh ? FILE_SHARE_READ | FILE_SHARE_DELETE : FILE_SHARE_READ;
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, share, nullptr,
                                      fresh ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (fresh && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS))
            return {};
        Fail("Cannot create " + Describe(path), SystemFault::WriteFailed);
    }
    OpenFile file;
    file.path_ = path;
    file.handle_ = reinterpret_cast<std::intptr_t>(handle);
    return file;
}

void OpenFile::TakeAccessOf(const std::filesystem::path&) noexcept
{
    // A new file takes its folder's permissions; the one attribute that bars writing, read-only,
    // is never saved over.
}

void OpenFile::Write(std::string_view bytes)
{
    while (!bytes.empty()) {
        ClearSystemError();
        const DWORD size = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(Native(handle_), bytes.data(), size, &written, nullptr) || written == 0)
            Fail("Cannot write " + Describe(path_), SystemFault::DiskFull);
        bytes.remove_prefix(written);
    }
}

void OpenFile::StartWriting(std::int64_t, std::int64_t) noexcept {}

void OpenFile::Sync()
{
    ClearSystemError();
    if (!FlushFileBuffers(Native(handle_)))
        Fail("Cannot write " + Describe(path_), SystemFault::WriteFailed);
}

void OpenFile::Close()
{
    ClearSystemError();
    const BOOL closed = CloseHandle(Native(std::exchange(handle_, -1)));
    if (!closed)
        Fail("Cannot write " + Describe(path_), SystemFault::WriteFailed);
}

bool TryRemoveUnheld(const std::filesystem::path& path) noexcept
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return false;
    // Opened by nobody else at all: a save still writing it holds it open, and this open fails.
    const HANDLE handle = CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    return CloseHandle(handle) != 0;
}

void Rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    ClearSystemError();
    // Written through: it returns once the new name is on the disk.
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        Fail("Cannot rename " + Describe(from) + " to " + Describe(to), SystemFault::WriteFailed);
}

void HardLink(const std::filesystem::path& from, const std::filesystem::path& to)
{
    ClearSystemError();
    if (!CreateHardLinkW(to.c_str(), from.c_str(), nullptr))
        Fail("Cannot link " + Describe(from) + " to " + Describe(to), SystemFault::WriteFailed);
}

void SyncFolder(const std::filesystem::path&)
{
    // Windows has no sync of a folder's entries: the rename that follows a link is written
    // through, and the file system's journal keeps the link before it.
}

FileStamp Stamp(const std::filesystem::path& path)
{
    FileStamp stamp;
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    stamp.takenAt = Nanoseconds((static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    const bool read = GetFileInformationByHandle(handle, &info)
                      && GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic);
    CloseHandle(handle);
    if (!read)
        return stamp;
    stamp.exists = true;
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    stamp.size = folder ? static_cast<std::uintmax_t>(-1)
                        : (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.modified = Nanoseconds(basic.LastWriteTime.QuadPart);
    stamp.changed = Nanoseconds(basic.ChangeTime.QuadPart);
    stamp.device = info.dwVolumeSerialNumber;
    stamp.file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return stamp;
}

#else

namespace {

std::int64_t Nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

OpenFile OpenFile::Create(const std::filesystem::path& path, bool fresh)
{
    ClearSystemError();
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (fresh ? O_EXCL : O_TRUNC);
    int handle = -1;
    do
        handle = ::open(path.c_str(), flags, 0666);
    while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        if (fresh && errno == EEXIST)
            return {};
        Fail("Cannot create " + Describe(path), SystemFault::WriteFailed);
    }
    OpenFile file;
    file.path_ = path;
    file.handle_ = handle;
    // Nobody else can hold a file this new: the lock only tells others that it is being written.
    if (fresh)
        ::flock(handle, LOCK_EX | LOCK_NB);
    return file;
}

void OpenFile::TakeAccessOf(const std::filesystem::path& like) noexcept
{
    struct stat status {};
    if (::stat(like.c_str(), &status) != 0)
        return;
    const int handle = static_cast<int>(handle_);
    // The owner first: a change of owner clears the set-id bits that the mode then puts back. A
    // new file is the process's own already, most often with the same group.
    if (status.st_uid != ::geteuid() || status.st_gid != ::getegid()) {
        if (::fchown(handle, status.st_uid, status.st_gid) != 0 && ::fchown(handle, static_cast<uid_t>(-1), status.st_gid) != 0) {
            // Not the process's to give: the file stays the user's own, which is what they can write.
        }
    }
    ::fchmod(handle, status.st_mode & 07777);
}

void OpenFile::Write(std::string_view bytes)
{
    while (!bytes.empty()) {
        ClearSystemError();
        const ssize_t written = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            Fail("Cannot write " + Describe(path_), SystemFault::DiskFull);
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

void OpenFile::StartWriting([[maybe_unused]] std::int64_t from, [[maybe_unused]] std::int64_t length) noexcept
{
#ifdef __linux__
    // Only a head start: whether it worked or not, the final sync makes sure of every byte.
    ::sync_file_range(static_cast<int>(handle_), from, length, SYNC_FILE_RANGE_WRITE);
#endif
}

void OpenFile::Sync()
{
    ClearSystemError();
    if (::fsync(static_cast<int>(handle_)) != 0)
        Fail("Cannot write " + Describe(path_), SystemFault::WriteFailed);
}

void OpenFile::Close()
{
    ClearSystemError();
    // Some file systems (a network share) tell of a failed write only here.
    if (::close(static_cast<int>(std::exchange(handle_, -1))) != 0 && errno != EINTR)
        Fail("Cannot write " + Describe(path_), SystemFault::WriteFailed);
}

bool TryRemoveUnheld(const std::filesystem::path& path) noexcept
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (handle < 0)
        return false;
    // A save still writing the file holds its lock.
    const bool removed = ::flock(handle, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0;
    ::close(handle);
    return removed;
}

void Rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    ClearSystemError();
    if (::rename(from.c_str(), to.c_str()) != 0)
        Fail("Cannot rename " + Describe(from) + " to " + Describe(to), SystemFault::WriteFailed);
}

void HardLink(const std::filesystem::path& from, const std::filesystem::path& to)
{
    ClearSystemError();
    if (::link(from.c_str(), to.c_str()) != 0)
        Fail("Cannot link " + Describe(from) + " to " + Describe(to), SystemFault::WriteFailed);
}

void SyncFolder(const std::filesystem::path& folder)
{
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
    ClearSystemError();
    const int handle = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        Fail("Cannot sync the folder " + Describe(where), SystemFault::WriteFailed);
    const int synced = ::fsync(handle);
    const int error = errno;
    ::close(handle);
    // A file system that cannot sync a folder says so (EINVAL); there is nothing more to ask of it.
    if (synced != 0 && error != EINVAL && error != ENOTSUP) {
        errno = error;
        Fail("Cannot sync the folder " + Describe(where), SystemFault::WriteFailed);
    }
}

FileStamp Stamp(const std::filesystem::path& path)
{
    FileStamp stamp;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    stamp.takenAt = Nanoseconds(now);
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return stamp;
    stamp.exists = true;
    // A folder has no size: it then differs from the file's, as it should.
    stamp.size = S_ISDIR(status.st_mode) ? static_cast<std::uintmax_t>(-1) : static_cast<std::uintmax_t>(status.st_size);
    stamp.modified = Nanoseconds(status.st_mtim);
    stamp.changed = Nanoseconds(status.st_ctim);
    stamp.device = static_cast<std::uint64_t>(status.st_dev);
    stamp.file = static_cast<std::uint64_t>(status.st_ino);
    // A file nobody may write is read-only for us too, though the system lets an administrator
    // write it: the user (or a tool of theirs) made it so.
    stamp.readOnly = (status.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
    return stamp;
}

#endif

}  // namespace revlane::platform::disk
