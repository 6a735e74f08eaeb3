#include "SystemError.h"

#include <cerrno>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace revlane {

#ifdef _WIN32

void ClearSystemError()
{
    SetLastError(ERROR_SUCCESS);
    errno = 0;
}

int LastSystemError()
{
    return static_cast<int>(GetLastError());
}

int SystemErrorOf(const std::error_code& ec, SystemFault fallback)
{
    // The standard library words some failures of the system's calls as C library numbers
    // (every failed rename as EIO, say); the system's own number is still the last error.
    const DWORD code = GetLastError();
    if (code != ERROR_SUCCESS)
        return static_cast<int>(code);
    if (ec.category() == std::system_category() && ec.value() != 0)
        return ec.value();
    return SystemErrorCode(fallback);
}

int SystemErrorCode(SystemFault fault)
{
    switch (fault) {
    case SystemFault::NotFound: return ERROR_FILE_NOT_FOUND;
    case SystemFault::ReadFailed: return ERROR_READ_FAULT;
    case SystemFault::WriteFailed: return ERROR_WRITE_FAULT;
    case SystemFault::DiskFull: return ERROR_DISK_FULL;
    // What the system itself answers when a folder is opened as a file.
    case SystemFault::IsFolder: return ERROR_ACCESS_DENIED;
    case SystemFault::NotAFile: return ERROR_INVALID_PARAMETER;
    case SystemFault::ReadOnly: return ERROR_ACCESS_DENIED;
    }
    return ERROR_GEN_FAILURE;
}

std::string SystemErrorText(int code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring wide(buffer ? buffer : L"", length);
    if (buffer)
        LocalFree(buffer);
    // The system's texts end with a line break, and a few hold one more.
    for (wchar_t& c : wide)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    while (!wide.empty() && wide.back() == L' ')
        wide.pop_back();
    if (wide.empty())
        return "Unknown error " + std::to_string(code);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

#else

void ClearSystemError()
{
    errno = 0;
}

int LastSystemError()
{
    return errno;
}

int SystemErrorOf(const std::error_code& ec, SystemFault fallback)
{
    // Here the standard library's codes are the system's numbers.
    return ec.value() != 0 ? ec.value() : SystemErrorCode(fallback);
}

int SystemErrorCode(SystemFault fault)
{
    switch (fault) {
    case SystemFault::NotFound: return ENOENT;
    case SystemFault::ReadFailed:
    case SystemFault::WriteFailed: return EIO;
    case SystemFault::DiskFull: return ENOSPC;
    case SystemFault::IsFolder: return EISDIR;
    case SystemFault::NotAFile: return EINVAL;
    case SystemFault::ReadOnly: return EACCES;
    }
    return EIO;
}

std::string SystemErrorText(int code)
{
    return std::generic_category().message(code);
}

#endif

int LastSystemError(SystemFault fallback)
{
    const int code = LastSystemError();
    return code != 0 ? code : SystemErrorCode(fallback);
}

}  // namespace revlane
