#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FileSystem.h"

namespace revlane::platform {

// The real file system. Every file it writes is on the disk itself (not only in the system's
// cache) before it returns, and the names a save gives are made to last by a sync of their folder
// (on Windows, by a rename written through), so that a power cut after a save finds the new file.
// The files a save writes beside the user's are its own, one name each, held while the save runs.
// Plain C++ on the systems' own calls: the model's tests run it on Windows too.
class DiskFileSystem : public FileSystem {
public:
    DiskFileSystem();
    ~DiskFileSystem() override;

    bool Exists(const std::filesystem::path& path) override;
    std::string ReadAll(const std::filesystem::path& path) override;
    void ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                   std::vector<LineEnd>& ends) override;
    void WriteAll(const std::filesystem::path& path, const std::string& bytes) override;
    std::filesystem::path WriteNew(const std::filesystem::path& target, const std::vector<std::string>& lines,
                                   const std::vector<LineEnd>& ends, std::string_view head = {}) override;
    void Release(const std::filesystem::path& made) noexcept override;
    void RemoveLeftovers(const std::filesystem::path& target) noexcept override;
    void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void SyncFolder(const std::filesystem::path& folder) override;
    void Remove(const std::filesystem::path& path) noexcept override;
    FileStamp Stamp(const std::filesystem::path& path) override;

    // What the names of a save's own files begin with, after the name of the file they are for.
    static constexpr const char* kSaveSuffix = ".revlane-save";

private:
    class Held;
    // The files WriteNew made, still held, by path.
    std::map<std::filesystem::path, std::unique_ptr<Held>> held_;
};

// The one the program uses.
DiskFileSystem& Disk();

}  // namespace revlane::platform
