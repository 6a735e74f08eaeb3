#include "Document.h"

#include <algorithm>

#include "ErrorReport.h"
#include "SystemError.h"
#include "Text.h"

// Saving the open file: the header, the backup, the temporary file and its rename, and the check
// that no other program changed the file since it was read.
namespace revlane {

namespace {

// How far apart two changes of a file must be for its time stamps to tell them apart. Times of
// whole seconds come from a file system that keeps coarse ones (two seconds on FAT): a change
// within them leaves the times as they were, and only the lines can tell. Finer times change
// with every write.
std::int64_t StampResolution(const FileStamp& stamp)
{
    constexpr std::int64_t kSecond = 1'000'000'000;
    return stamp.modified % kSecond == 0 && stamp.changed % kSecond == 0 ? 2 * kSecond : 0;
}

}  // namespace

std::string Document::HeaderLine()
{
    std::string date = ports_.clock.LongDate();
    std::string time = ports_.clock.LongTime();
    return std::string(IsIde() ? "#" : ";") + " Config file written by Revlane v" + appVersion_
           + " - Last modified on " + date + " " + time;
}

std::filesystem::path Document::BackupPathFor(const std::filesystem::path& path)
{
    auto backup = path;
    backup += ".bak";
    return backup;
}

SaveResult Document::Save()
{
    ContinueOnError run("SaveFile", ports_.errors);
    SaveResult result;
    if (!open_) {
        // Only a table read whole from the file may be written over it.
        run.Fail({errorcode::Internal, "No file was read whole, so nothing was saved"});
        run.Finish();
        return result;
    }
    const FileStamp now = ports_.files.Stamp(Path());
    if (now.exists && now.readOnly) {
        // Whoever made it read-only meant it to stay as it is.
        run.Step([&] {
            throw ModelError::FromSystem(SystemErrorCode(SystemFault::ReadOnly),
                                         "Cannot save over '" + text::PathText(Path()) + "', a read-only file");
        });
        run.Finish();
        return result;
    }
    SaveSteps(run, result.backupMade);
    result.saved = !run.Failed();
    // A failed save keeps the changes marked, so that leaving the file still asks about them.
    if (result.saved)
        modified_ = false;
    run.Finish();
    return result;
}

bool Document::ChangedOnDisk()
{
    return open_ && ChangedSince(ports_.files.Stamp(Path()));
}

// The file is never opened for writing in place: the whole table goes to a new file beside it,
// and only a complete one takes the file's name, in one rename. On the first save the backup is
// made before that, as a second name for the original or as a copy of it, so the file's own name
// holds a whole file at every moment, whenever the program dies. Each new name is synced to the
// disk before the next step, and the save is done only once the last one is: after a power cut
// the folder names the old file or the new one, and the backup wherever the new file is.
void Document::SaveSteps(ContinueOnError& run, bool& backupMade)
{
    std::string header;
    run.Step([&] { header = HeaderLine(); });
    PutCommentLine(0, header.empty() ? std::string(IsIde() ? "#" : ";") : header);
    if (!IsIde() && lines_.size() > 1)
        PutCommentLine(1, ";");

    const auto path = Path();
    const auto backup = BackupPathFor(path);
    const auto folder = path.parent_path();
    FileSystem& files = ports_.files;
    // What earlier saves cut short left beside the file goes first.
    files.RemoveLeftovers(path);

    std::filesystem::path made;
    // A byte-order mark belongs to the file, not to its first line: it stays the file's first bytes.
    const std::string_view head = byteOrderMark_ ? text::kByteOrderMark : std::string_view();
    if (!run.Step([&] { made = files.WriteNew(path, lines_, ends_, head); }))
        return;
    // Once renamed it is the file itself; otherwise it goes.
    struct Release {
        FileSystem& files;
        const std::filesystem::path& made;
        ~Release() { files.Release(made); }
    } release{files, made};
    if (!files.Exists(backup) && files.Exists(path)) {
        if (!run.Step([&] { MakeBackup(path, backup); }))
            return;
        backupMade = true;
        if (!run.Step([&] { files.SyncFolder(folder); }))
            return;
    }
    // The original is still in place (and now also the backup) if this fails.
    if (!run.Step([&] { files.Rename(made, path); }))
        return;
    // Taken at once: the rename itself is a change of the file's status.
    RememberDisk(files.Stamp(path));
    run.Step([&] { files.SyncFolder(folder); });
}

void Document::RememberDisk(const FileStamp& stamp)
{
    disk_ = stamp;
    diskHash_.reset();
    if (stamp.takenAt - stamp.modified < StampResolution(stamp))
        diskHash_ = text::HashLines(lines_, ends_);
}

bool Document::ChangedSince(const FileStamp& now)
{
    if (!now.SameFile(disk_))
        return true;
    if (!diskHash_)
        return false;
    std::vector<std::string> lines;
    std::vector<LineEnd> ends;
    try {
        ports_.files.ReadLines(Path(), lines, ends);
    } catch (const std::exception&) {
        return true;  // what cannot be read cannot be told to be ours
    }
    return text::TakeByteOrderMark(lines) != byteOrderMark_ || text::HashLines(lines, ends) != *diskHash_;
}

// The header and handling.cfg's ";" line go over the file's own comment lines (or an earlier
// header); any other line keeps its place below them, since the game reads it. A UTF-8
// byte-order mark belongs to the file, not to its first line: it stays the file's first bytes.
bool Document::HeaderTakes(std::string_view line, FileKind kind)
{
    // Written over, ";the end" would leave the game reading on into whatever follows it.
    if (kind == FileKind::DefaultIde)
        return text::StartsWith(line, "#");
    return text::StartsWith(line, ";") && !text::StartsWith(line, ";the end");
}

namespace {

// How a line of ours ends: as the file's lines do.
LineEnd EndOfOurs(const std::vector<LineEnd>& ends)
{
    const auto firstEnd = std::find_if(ends.begin(), ends.end(), [](LineEnd end) { return end != LineEnd::None; });
    return firstEnd == ends.end() ? LineEnd::CrLf : *firstEnd;
}

}  // namespace

// PutCommentLine's steps as SaveSteps takes them, on the first two lines alone.
long long Document::SaveGrowth(std::string_view header) const
{
    const auto size = [](std::string_view text) { return static_cast<long long>(text.size()); };
    const long long endBytes = size(text::EndBytes(EndOfOurs(ends_)));
    size_t count = lines_.size();
    std::string_view head[2] = {count > 0 ? std::string_view(lines_[0]) : "", count > 1 ? std::string_view(lines_[1]) : ""};
    long long growth = 0;
    const auto put = [&](size_t index, std::string_view text) {
        if (index < count && HeaderTakes(head[index], kind_)) {
            growth += size(text) - size(head[index]);
            head[index] = text;
            return;
        }
        growth += size(text) + endBytes;
        if (std::min(index, count) == 0)
            head[1] = head[0];
        head[std::min<size_t>(index, 1)] = text;
        ++count;
    };
    put(0, header.empty() ? (IsIde() ? "#" : ";") : header);
    if (!IsIde() && count > 1)
        put(1, ";");
    return growth;
}

void Document::PutCommentLine(size_t index, const std::string& text)
{
    if (index < lines_.size() && HeaderTakes(lines_[index], kind_)) {
        lines_[index] = text;
        return;
    }
    const auto at = static_cast<std::ptrdiff_t>(std::min(index, lines_.size()));
    lines_.insert(lines_.begin() + at, text);
    ends_.insert(ends_.begin() + at, EndOfOurs(ends_));
    // Every row keeps its own line, one further down now.
    for (RecordView& view : views_)
        for (ViewRow& row : view.rows)
            if (static_cast<size_t>(row.line) >= index)
                ++row.line;
}

void Document::MakeBackup(const std::filesystem::path& path, const std::filesystem::path& backup)
{
    FileSystem& files = ports_.files;
    try {
        files.HardLink(path, backup);
        return;
    } catch (const std::exception&) {
        // Some file systems have no links: copy instead, whole and synced before it takes the name.
    }
    std::vector<std::string> lines;
    std::vector<LineEnd> ends;
    files.ReadLines(path, lines, ends);
    const std::filesystem::path made = files.WriteNew(backup, lines, ends);
    try {
        files.Rename(made, backup);
    } catch (...) {
        files.Release(made);
        throw;
    }
    files.Release(made);
}

}  // namespace revlane
