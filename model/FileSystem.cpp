#include "FileSystem.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include "ErrorReport.h"
#include "Text.h"

namespace revlane {

namespace {

// Reports are UTF-8, whatever the system's code page.
std::string Describe(const std::filesystem::path& path)
{
    return "'" + text::PathText(path) + "'";
}

[[noreturn]] void ThrowErrno(const std::string& what, int fallback = EIO)
{
    const int err = errno != 0 ? errno : fallback;
    throw ModelError::FromErrno(err, what);
}

class RealFileSystem : public FileSystem {
public:
    bool Exists(const std::filesystem::path& path) override
    {
        std::error_code ec;
        return std::filesystem::exists(path, ec);
    }

    std::string ReadAll(const std::filesystem::path& path) override
    {
        std::error_code ec;
        const auto status = std::filesystem::status(path, ec);
        if (ec)
            throw ModelError(ec.value(), "Cannot read " + Describe(path) + ": " + ec.message());
        if (std::filesystem::is_directory(status))
            throw ModelError::FromErrno(EISDIR, "Cannot read " + Describe(path));
        // Devices and pipes may never end; only ordinary files are configuration files.
        if (!std::filesystem::is_regular_file(status))
            throw ModelError::FromErrno(EINVAL, "Cannot read " + Describe(path) + ", not an ordinary file");

        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in)
            ThrowErrno("Cannot open " + Describe(path));
        std::ostringstream content;
        content << in.rdbuf();
        if (in.bad() || content.bad())
            ThrowErrno("Cannot read " + Describe(path));
        return std::move(content).str();
    }

    void WriteAll(const std::filesystem::path& path, const std::string& bytes) override
    {
        errno = 0;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out)
            ThrowErrno("Cannot create " + Describe(path));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out)
            ThrowErrno("Cannot write " + Describe(path), ENOSPC);
        out.close();
        if (!out)
            ThrowErrno("Cannot write " + Describe(path), ENOSPC);
    }

    void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::error_code ec;
        std::filesystem::rename(from, to, ec);
        if (ec)
            throw ModelError(ec.value(), "Cannot rename " + Describe(from) + " to " + Describe(to) + ": " + ec.message());
    }

    void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::error_code ec;
        std::filesystem::create_hard_link(from, to, ec);
        if (ec)
            throw ModelError(ec.value(), "Cannot link " + Describe(from) + " to " + Describe(to) + ": " + ec.message());
    }

    void Remove(const std::filesystem::path& path) noexcept override
    {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

}  // namespace

FileSystem& StdFileSystem()
{
    static RealFileSystem fs;
    return fs;
}

}  // namespace revlane
