#pragma once

#include <filesystem>
#include <string>

namespace revlane {

// The file operations the model needs, behind an interface so that tests can make any
// one of them fail, or stop dead half-way as a crash would. Failures throw ModelError.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // A file or a folder exists at the path.
    virtual bool Exists(const std::filesystem::path& path) = 0;
    // The whole content of a regular file.
    virtual std::string ReadAll(const std::filesystem::path& path) = 0;
    // Creates or empties the file, writes the bytes and flushes them to the system.
    virtual void WriteAll(const std::filesystem::path& path, const std::string& bytes) = 0;
    // Gives a file another name; an existing file of that name is replaced in one step.
    virtual void Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // A second name for the same file, where the file system has such a thing; `to` must not exist.
    virtual void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Removes a file if it is there; never fails.
    virtual void Remove(const std::filesystem::path& path) noexcept = 0;
};

// The real file system, through the standard library.
FileSystem& StdFileSystem();

}  // namespace revlane
