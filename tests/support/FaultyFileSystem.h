#pragma once

// The real file system, with the faults a test chooses: one operation on one path failing as the
// system fails it (a file the user may not read, a full disk, links refused), or the program
// dying at the n-th operation that changes the disk. CI runs as root, so permissions alone
// cannot make these happen. It keeps a log of what reached the disk, in order.

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "DiskFileSystem.h"
#include "ErrorReport.h"

namespace revlane::test {

// A failure as the C library numbers and words it.
inline ModelError ErrnoError(int err, const std::string& what)
{
    return ModelError(err, what + ": " + std::generic_category().message(err));
}

class FaultyFileSystem : public FileSystem {
public:
    enum class Op { Read, Write, Rename, Link, Sync };
    struct Fault {
        Op op;
        std::filesystem::path path;  // read, written, or renamed or linked from, synced; empty: every path
        int error;
    };
    std::vector<Fault> faults;
    // The operation with this number (counting writes, renames, links, syncs and releases from 0)
    // is cut short, a write leaving half its bytes, and from then on nothing reaches the disk:
    // what the dead program held is let go of, as the system does, and left where it is.
    int crashAt = -1;
    bool crashed = false;
    // "write", "link", "rename" and "sync" in the order they reached the disk; a write is synced.
    std::vector<std::string> log;
    // Times of whole seconds, as a file system that keeps no finer ones gives them.
    bool coarseTimes = false;

    bool Exists(const std::filesystem::path& p) override { return real_->Exists(p); }
    std::string ReadAll(const std::filesystem::path& p) override { return Check(Op::Read, p), real_->ReadAll(p); }
    void WriteAll(const std::filesystem::path& p, const std::string& bytes) override
    {
        if (Dies())
            return real_->WriteAll(p, bytes.substr(0, bytes.size() / 2));
        if (crashed)
            return;
        try {
            Check(Op::Write, p);
        } catch (...) {
            real_->WriteAll(p, bytes.substr(0, bytes.size() / 2));  // what fitted before the disk was full
            throw;
        }
        real_->WriteAll(p, bytes);
    }
    std::filesystem::path WriteNew(const std::filesystem::path& target, const std::vector<std::string>& lines,
                                   const std::vector<LineEnd>& ends, std::string_view head = {}) override
    {
        auto made = target;
        made += std::string(platform::DiskFileSystem::kSaveSuffix) + "-cut";
        if (Dies()) {
            const std::string bytes = std::string(head) + text::JoinLines(lines, ends);
            real_->WriteAll(made, bytes.substr(0, bytes.size() / 2));
        }
        if (crashed)
            return made;
        Check(Op::Write, target);
        made = real_->WriteNew(target, lines, ends, head);
        log.push_back("write");
        return made;
    }
    void Release(const std::filesystem::path& made) noexcept override
    {
        if (!Dies() && !crashed)
            real_->Release(made);
    }
    void RemoveLeftovers(const std::filesystem::path& target) noexcept override
    {
        if (!crashed)
            real_->RemoveLeftovers(target);
    }
    void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        if (!Dies() && !crashed && (Check(Op::Rename, from), true))
            real_->Rename(from, to), log.push_back("rename");
    }
    void HardLink(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        if (!Dies() && !crashed && (Check(Op::Link, from), true))
            real_->HardLink(from, to), log.push_back("link");
    }
    void SyncFolder(const std::filesystem::path& folder) override
    {
        if (!Dies() && !crashed && (Check(Op::Sync, folder), true))
            real_->SyncFolder(folder), log.push_back("sync");
    }
    void Remove(const std::filesystem::path& p) noexcept override
    {
        if (!crashed)
            real_->Remove(p);
    }
    FileStamp Stamp(const std::filesystem::path& p) override
    {
        FileStamp stamp = real_->Stamp(p);
        if (coarseTimes) {
            stamp.modified -= stamp.modified % 1'000'000'000;
            stamp.changed -= stamp.changed % 1'000'000'000;
        }
        return stamp;
    }

private:
    void Check(Op op, const std::filesystem::path& p) const
    {
        for (const Fault& f : faults)
            if (f.op == op && (f.path.empty() || f.path == p))
                throw ErrnoError(f.error, "Cannot use '" + p.string() + "'");
    }
    bool Dies()
    {
        if (crashed || ops_++ != crashAt)
            return false;
        crashed = true;
        // The files it held are let go of where they lie.
        real_ = std::make_unique<platform::DiskFileSystem>();
        return true;
    }
    int ops_ = 0;
    std::unique_ptr<platform::DiskFileSystem> real_ = std::make_unique<platform::DiskFileSystem>();
};

}  // namespace revlane::test
