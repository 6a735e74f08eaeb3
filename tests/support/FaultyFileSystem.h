#pragma once

// The real file system, with the faults a test chooses: one operation on one path failing as the
// system fails it (a file the user may not read, a full disk, links refused), or the program
// dying at the n-th operation that changes the disk. CI runs as root, so permissions alone
// cannot make these happen.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "ErrorReport.h"
#include "FileSystem.h"

namespace revlane::test {

// A failure as the C library numbers and words it.
inline ModelError ErrnoError(int err, const std::string& what)
{
    return ModelError(err, what + ": " + std::generic_category().message(err));
}

class FaultyFileSystem : public FileSystem {
public:
    enum class Op { Read, Write, Rename, Link };
    struct Fault {
        Op op;
        std::filesystem::path path;  // read, written, or renamed or linked from; empty: every path
        int error;
    };
    std::vector<Fault> faults;
    // A failed write leaves half its bytes, as a full disk does. The operation with this number (counting writes, renames, links and removals from 0) is cut
    // short, a write leaving half its bytes, and from then on nothing reaches the disk.
    int crashAt = -1;
    bool crashed = false;

    bool Exists(const std::filesystem::path& p) override { return Real().Exists(p); }
    std::string ReadAll(const std::filesystem::path& p) override { return Check(Op::Read, p), Real().ReadAll(p); }
    void WriteAll(const std::filesystem::path& p, const std::string& bytes) override
    {
        if (Dies())
            return Real().WriteAll(p, bytes.substr(0, bytes.size() / 2));
        if (crashed)
            return;
        try {
            Check(Op::Write, p);
        } catch (...) {
            Real().WriteAll(p, bytes.substr(0, bytes.size() / 2));  // what fitted before the disk was full
            throw;
        }
        Real().WriteAll(p, bytes);
    }
    void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        if (!Dies() && !crashed && (Check(Op::Rename, from), true))
            Real().Rename(from, to);
    }
    void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        if (!Dies() && !crashed && (Check(Op::Link, from), true))
            Real().HardLink(from, to);
    }
    void Remove(const std::filesystem::path& p) noexcept override
    {
        if (!Dies() && !crashed)
            Real().Remove(p);
    }

private:
    static FileSystem& Real() { return StdFileSystem(); }
    void Check(Op op, const std::filesystem::path& p) const
    {
        for (const Fault& f : faults)
            if (f.op == op && (f.path.empty() || f.path == p))
                throw ErrnoError(f.error, "Cannot use '" + p.string() + "'");
    }
    bool Dies() { return !crashed && ops_++ == crashAt && (crashed = true); }
    int ops_ = 0;
};

}  // namespace revlane::test
