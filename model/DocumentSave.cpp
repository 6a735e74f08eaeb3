#include "Document.h"

#include "ErrorReport.h"
#include "Text.h"

// Saving the open file: the header, the backup, the temporary file and its rename, and the check
// that no other program changed the file since it was read.
namespace revlane {

namespace {

// How far apart two changes of a file must be for its time stamp to tell them apart. A time of
// whole seconds comes from a file system that keeps coarse times (two seconds on FAT): a change
// within them leaves the time as it was, and only the lines can tell. Finer times change with
// every write.
std::int64_t StampResolution(const FileStamp& stamp)
{
    constexpr std::int64_t kSecond = 1'000'000'000;
    return stamp.modified % kSecond == 0 ? 2 * kSecond : 0;
}

}  // namespace

std::string Document::HeaderLine()
{
    std::string date = ports_.clock.LongDate();
    std::string time = ports_.clock.LongTime();
    return std::string(IsIde() ? "#" : ";") + " Config file written by Revlane v" + appVersion_
           + " - Last modified on " + date + " " + time;
}

std::filesystem::path Document::TempPathFor(const std::filesystem::path& path)
{
    auto temp = path;
    temp += ".revlane-save";
    return temp;
}

std::filesystem::path Document::BackupPathFor(const std::filesystem::path& path)
{
    auto backup = path;
    backup += ".bak";
    return backup;
}

bool Document::Save()
{
    ContinueOnError run("SaveFile", ports_.errors);
    if (!open_) {
        // Only a table read whole from the file may be written over it.
        run.Fail({errorcode::Internal, "No file was read whole, so nothing was saved"});
        run.Finish();
        return false;
    }
    if (ChangedOnDisk()) {
        const MsgAnswer answer = ports_.messages.ShowMessage(
            "The file " + text::PathText(Path())
                + " has been changed by another program since Revlane read it. Save your changes over it?",
            MsgButtons::YesNo, MsgIcon::Exclamation);
        if (answer != MsgAnswer::Yes) {
            run.Finish();
            return false;
        }
    }
    bool backupMade = false;
    SaveSteps(run, backupMade);
    if (backupMade) {
        run.Step([&] {
            ports_.messages.ShowMessage("Backup copy created at: \r\n" + text::PathText(BackupPathFor(Path()))
                                            + "\r\n\r\nA backup copy will be created only when it does not exist.",
                                        MsgButtons::OK, MsgIcon::Information);
        });
    }
    const bool saved = !run.Failed();
    // A failed save keeps the changes marked, so that leaving the file still asks about them.
    if (saved)
        modified_ = false;
    run.Finish();
    return saved;
}

// The file is never opened for writing in place: the whole table goes to a temporary file
// beside it, and only a complete one takes the file's name, in one rename. On the first save
// the backup is made before that, as a second name for the original or as a copy of it, so
// the file's own name holds a whole file at every moment, whenever the program dies.
void Document::SaveSteps(ContinueOnError& run, bool& backupMade)
{
    std::string header;
    run.Step([&] { header = HeaderLine(); });
    PutCommentLine(0, header.empty() ? std::string(IsIde() ? "#" : ";") : header);
    if (!IsIde() && lines_.size() > 1)
        PutCommentLine(1, ";");

    const auto path = Path();
    const auto backup = BackupPathFor(path);
    const auto temp = TempPathFor(path);
    FileSystem& files = ports_.files;

    if (!run.Step([&] { files.WriteLines(temp, lines_); })) {
        files.Remove(temp);
        return;
    }
    // The new file keeps its time and size when it takes the name.
    const FileStamp written = files.Stamp(temp);
    if (!files.Exists(backup) && files.Exists(path)) {
        if (!run.Step([&] { MakeBackup(path, backup); })) {
            files.Remove(temp);
            return;
        }
        backupMade = true;
    }
    // The original is still in place (and now also the backup) if this fails.
    if (!run.Step([&] { files.Rename(temp, path); }))
        files.Remove(temp);
    else
        RememberDisk(written);
}

void Document::RememberDisk(const FileStamp& stamp)
{
    disk_ = stamp;
    diskHash_.reset();
    if (stamp.takenAt - stamp.modified < StampResolution(stamp))
        diskHash_ = text::HashLines(lines_);
}

bool Document::ChangedOnDisk()
{
    const FileStamp now = ports_.files.Stamp(Path());
    if (now.exists != disk_.exists || now.size != disk_.size || now.modified != disk_.modified)
        return true;
    if (!diskHash_)
        return false;
    std::vector<std::string> lines;
    try {
        ports_.files.ReadLines(Path(), lines);
    } catch (const std::exception&) {
        return true;  // what cannot be read cannot be told to be ours
    }
    return text::HashLines(lines) != *diskHash_;
}

// The header and handling.cfg's ";" line go over the file's own comment lines (or an earlier
// header); any other line keeps its place below them, since the game reads it. A UTF-8
// byte-order mark belongs to the file, not to its first line: it stays the file's first bytes.
void Document::PutCommentLine(size_t index, const std::string& text)
{
    const char* comment = IsIde() ? "#" : ";";
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const std::string mark(index == 0 && !lines_.empty() && text::StartsWith(lines_[0], kByteOrderMark) ? kByteOrderMark : "");
    if (index < lines_.size() && text::StartsWith(std::string_view(lines_[index]).substr(mark.size()), comment)) {
        lines_[index] = mark + text;
        return;
    }
    if (!mark.empty())
        lines_[0].erase(0, mark.size());
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(std::min(index, lines_.size())), mark + text);
    // Every row keeps its own line, one further down now.
    if (static_cast<size_t>(firstVehicleLine_) >= index)
        ++firstVehicleLine_;
    for (Row& row : rows_)
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
        // Some file systems have no links: copy instead, whole and flushed before it takes the name.
    }
    const auto temp = TempPathFor(backup);
    try {
        files.WriteAll(temp, files.ReadAll(path));
        files.Rename(temp, backup);
    } catch (...) {
        files.Remove(temp);
        throw;
    }
}

}  // namespace revlane
