#pragma once

#include <string>
#include <system_error>

// Failures of the system's own calls, numbered and worded as the running system does: errno
// and its text on POSIX systems, GetLastError() and FormatMessage on Windows. A report gives
// the number to look up and the text to read, and both must come from the same system: a
// Windows number beside a C library text names another fault than the one that happened.
namespace revlane {

// Failures that a call reports without a number of the system's, or that the program finds
// itself before it asks the system.
enum class SystemFault {
    NotFound,     // no file of that name
    ReadFailed,   // the data could not be read
    WriteFailed,  // the data could not be written
    DiskFull,     // the system took only part of the data
    IsFolder,     // a file was expected and a folder is there
    NotAFile,     // neither a file nor a folder: a device, a pipe
    ReadOnly,     // the file may not be written
};

// Forgets the last failure, before a call whose failure is to be read.
void ClearSystemError();
// The number of the failure that the last system call of this thread left, or 0 when it left none.
int LastSystemError();
// The same, or the system's number for the fault when it left none.
int LastSystemError(SystemFault fallback);
// The same after a standard library call that gave its own error code: on Windows that code
// may be a C library number that hides the system's.
int SystemErrorOf(const std::error_code& ec, SystemFault fallback);
// The system's number for a fault.
int SystemErrorCode(SystemFault fault);
// The system's text for one of its numbers, on one line, in UTF-8.
std::string SystemErrorText(int code);

}  // namespace revlane
