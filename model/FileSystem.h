#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace revlane {

// What the system tells of a file without reading it, and when it was asked: enough to see that
// the file was changed since, unless the change came within its time stamp's resolution.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // nanoseconds on the file system's clock
    std::int64_t takenAt = 0;   // the same clock, when the stamp was taken
};

// The file operations the model needs, behind an interface so that tests can make any
// one of them fail, or stop dead half-way as a crash would. Failures throw ModelError.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // A file or a folder exists at the path.
    virtual bool Exists(const std::filesystem::path& path) = 0;
    // The whole content of a regular file.
    virtual std::string ReadAll(const std::filesystem::path& path) = 0;
    // Replaces `lines` with the lines of a regular file, split as text::SplitLines splits its
    // content. The real file systems read it in pieces, so that its content is never held whole
    // beside its lines, into the strings `lines` holds already; this one splits what ReadAll
    // gives, and fails as ReadAll fails. After a failure `lines` holds anything.
    virtual void ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines);
    // Creates or empties the file, writes the bytes and flushes them to the system.
    virtual void WriteAll(const std::filesystem::path& path, const std::string& bytes) = 0;
    // The same for the bytes of text::JoinLinesCrLf(lines). The real file systems write them in
    // pieces, so that a large table is never copied whole; this one joins them and calls WriteAll,
    // and fails as WriteAll fails.
    virtual void WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines);
    // Gives a file another name; an existing file of that name is replaced in one step.
    virtual void Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // A second name for the same file, where the file system has such a thing; `to` must not exist.
    virtual void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Removes a file if it is there; never fails.
    virtual void Remove(const std::filesystem::path& path) noexcept = 0;
    // The file's size and modification time now; never fails (a file it cannot see does not exist).
    virtual FileStamp Stamp(const std::filesystem::path& path);
};

// The real file system, through the standard library.
FileSystem& StdFileSystem();

}  // namespace revlane
