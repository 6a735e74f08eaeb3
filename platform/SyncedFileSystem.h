#pragma once

#include "FileSystem.h"

namespace revlane::platform {

// The real file system, with every file the program writes on the disk itself (not only in the
// system's cache) before the caller renames it into place: a power cut right after a save then
// finds the new file, not an empty one. It writes the file it is given and nothing beside it.
class SyncedFileSystem : public FileSystem {
public:
    bool Exists(const std::filesystem::path& path) override;
    std::string ReadAll(const std::filesystem::path& path) override;
    void ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines) override;
    void WriteAll(const std::filesystem::path& path, const std::string& bytes) override;
    void WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines) override;
    void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void Remove(const std::filesystem::path& path) noexcept override;
};

}  // namespace revlane::platform
