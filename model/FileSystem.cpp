#include "FileSystem.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "ErrorReport.h"
#include "SystemError.h"
#include "Text.h"

namespace revlane {

namespace {

// Reports are UTF-8, whatever the system's code page.
std::string Describe(const std::filesystem::path& path)
{
    return "'" + text::PathText(path) + "'";
}

// Each failure is reported with the number and text of the system that failed, read at once,
// before another call can overwrite them.
[[noreturn]] void ThrowLast(const std::string& what, SystemFault fallback)
{
    throw ModelError::FromSystem(LastSystemError(fallback), what);
}

[[noreturn]] void ThrowCode(const std::error_code& ec, const std::string& what, SystemFault fallback)
{
    throw ModelError::FromSystem(SystemErrorOf(ec, fallback), what);
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
        ClearSystemError();
        const auto status = std::filesystem::status(path, ec);
        if (ec)
            ThrowCode(ec, "Cannot read " + Describe(path), SystemFault::ReadFailed);
        // A missing file is no error to the status call, and would pass for a device below; the
        // system still says why it found none.
        if (!std::filesystem::exists(status))
            ThrowLast("Cannot read " + Describe(path), SystemFault::NotFound);
        if (std::filesystem::is_directory(status))
            throw ModelError::FromSystem(SystemErrorCode(SystemFault::IsFolder),
                                         "Cannot read " + Describe(path) + ", a folder");
        // Devices and pipes may never end; only ordinary files are configuration files.
        if (!std::filesystem::is_regular_file(status))
            throw ModelError::FromSystem(SystemErrorCode(SystemFault::NotAFile),
                                         "Cannot read " + Describe(path) + ", not an ordinary file");

        ClearSystemError();
        std::ifstream in(path, std::ios::binary);
        if (!in)
            ThrowLast("Cannot open " + Describe(path), SystemFault::ReadFailed);
        std::ostringstream content;
        content << in.rdbuf();
        if (in.bad() || content.bad())
            ThrowLast("Cannot read " + Describe(path), SystemFault::ReadFailed);
        return std::move(content).str();
    }

    void WriteAll(const std::filesystem::path& path, const std::string& bytes) override
    {
        ClearSystemError();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out)
            ThrowLast("Cannot create " + Describe(path), SystemFault::WriteFailed);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out)
            ThrowLast("Cannot write " + Describe(path), SystemFault::DiskFull);
        out.close();
        if (!out)
            ThrowLast("Cannot write " + Describe(path), SystemFault::DiskFull);
    }

    void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::error_code ec;
        ClearSystemError();
        std::filesystem::rename(from, to, ec);
        if (ec)
            ThrowCode(ec, "Cannot rename " + Describe(from) + " to " + Describe(to), SystemFault::WriteFailed);
    }

    void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::error_code ec;
        ClearSystemError();
        std::filesystem::create_hard_link(from, to, ec);
        if (ec)
            ThrowCode(ec, "Cannot link " + Describe(from) + " to " + Describe(to), SystemFault::WriteFailed);
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
