#include "FileSystem.h"

namespace revlane {

void FileSystem::ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                           std::vector<LineEnd>& ends)
{
    lines = text::SplitLines(ReadAll(path), &ends);
}

}  // namespace revlane
