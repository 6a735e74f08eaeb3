#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Text.h"

namespace revlane {

// What the system tells of a file without reading it, and when it was asked: enough to see that
// another program changed the file since, whatever it set back. A program can put a file's size
// and modification time back (tar, unzip, cp -p and rsync -t all do), but not the time of the
// change of its status, nor the identity of a file put in its place.
struct FileStamp {
    bool exists = false;
    bool readOnly = false;      // nobody may write it, or this process may not
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // nanoseconds on the file system's clock
    std::int64_t changed = 0;   // when its content or status last changed, on the same clock
    std::uint64_t device = 0;   // the volume it lies on, and its number there
    std::uint64_t file = 0;
    std::int64_t takenAt = 0;   // the same clock, when the stamp was taken

    // The same file, unchanged as far as the system can tell.
    bool SameFile(const FileStamp& other) const
    {
        return exists == other.exists && size == other.size && modified == other.modified
               && changed == other.changed && device == other.device && file == other.file;
    }
};

// The file operations the model needs, behind an interface so that tests can make any one of
// them fail, or stop dead half-way as a crash would, and see their order. Failures throw
// ModelError.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // A file or a folder exists at the path.
    virtual bool Exists(const std::filesystem::path& path) = 0;
    // The whole content of a regular file.
    virtual std::string ReadAll(const std::filesystem::path& path) = 0;
    // Replaces `lines` and `ends` with the lines of a regular file and how each ends, split as
    // text::SplitLines splits its content. The real file system reads it in pieces, so that its
    // content is never held whole beside its lines, into the strings `lines` holds already; this
    // one splits what ReadAll gives, and fails as ReadAll fails. After a failure both hold anything.
    virtual void ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                           std::vector<LineEnd>& ends);
    // Creates or empties the file, writes the bytes and syncs them to the disk.
    virtual void WriteAll(const std::filesystem::path& path, const std::string& bytes) = 0;
    // Makes a new file beside `target`, under a name no other file has (the target's name and a
    // suffix), writes the lines with their ends into it and syncs them to the disk. It takes the
    // target's permission bits, and its owner and group where the process may set them. Until
    // Release, the file is held: no other save takes it for one that a crash left behind. A
    // failure leaves no file. Returns the new file's path.
    // `head`: bytes that go before the first line.
    virtual std::filesystem::path WriteNew(const std::filesystem::path& target, const std::vector<std::string>& lines,
                                           const std::vector<LineEnd>& ends, std::string_view head = {}) = 0;
    // Lets go of a file that WriteNew made, and removes it if it still has the name it was given.
    virtual void Release(const std::filesystem::path& made) noexcept = 0;
    // Removes the files that saves of `target` (and of its backup) cut short left beside it, those
    // nobody holds.
    virtual void RemoveLeftovers(const std::filesystem::path& target) noexcept = 0;
    // Gives a file another name; an existing file of that name is replaced in one step.
    virtual void Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // A second name for the same file, where the file system has such a thing; `to` must not exist.
    virtual void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Makes the folder's names (a file renamed or linked into it) last through a power cut.
    virtual void SyncFolder(const std::filesystem::path& folder) = 0;
    // Removes a file if it is there; never fails.
    virtual void Remove(const std::filesystem::path& path) noexcept = 0;
    // What the system tells of the file now; never fails (a file it cannot see does not exist).
    virtual FileStamp Stamp(const std::filesystem::path& path) = 0;
};

}  // namespace revlane
