#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "FileSystem.h"

// The system calls the disk file system makes, one set for POSIX systems and one for Windows.
// Failures throw ModelError with the system's own number and text, and the file's name.
namespace revlane::platform::disk {

// A file open for writing, closed when it goes.
class OpenFile {
public:
    OpenFile() = default;
    ~OpenFile();
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // Creates the file or empties it. With `fresh`, only creates it, where no file has the name
    // yet (returns a closed file where one has), and holds it: while it is open, TryRemoveUnheld
    // of another process leaves it be.
    static OpenFile Create(const std::filesystem::path& path, bool fresh);
    bool IsOpen() const;
    // Gives it the permission bits of another file, and its owner and group where the process
    // may; a file that is not there gives nothing.
    void TakeAccessOf(const std::filesystem::path& like) noexcept;
    // Writes all the bytes, or fails: a full disk refuses the piece it cannot take.
    void Write(std::string_view bytes);
    // Sends the bytes from `from` on to the disk without waiting for them, where the system can.
    void StartWriting(std::int64_t from, std::int64_t length) noexcept;
    // Waits until every byte written is on the disk.
    void Sync();
    // Closes it; a failure the system tells only now is a failure of the write.
    void Close();

private:
    void CloseQuietly() noexcept;

    std::filesystem::path path_;
    std::intptr_t handle_ = -1;
};

// Removes a file that no process holds open as OpenFile::Create holds it; false where one does,
// or the file could not be removed.
bool TryRemoveUnheld(const std::filesystem::path& path) noexcept;
// Replaces `to` with `from` in one step, on Windows written through to the disk before it returns.
void Rename(const std::filesystem::path& from, const std::filesystem::path& to);
void HardLink(const std::filesystem::path& from, const std::filesystem::path& to);
// Makes the folder's entries last; nothing to do where the rename was written through.
void SyncFolder(const std::filesystem::path& folder);
FileStamp Stamp(const std::filesystem::path& path);

}  // namespace revlane::platform::disk
