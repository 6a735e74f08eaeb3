#include "LinePieces.h"

#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace revlane::platform {

namespace {

// Where the gathering is: a line, and how many of its bytes, its end's included, are taken.
struct Cursor {
    size_t line = 0;
    size_t at = 0;
};

// Copies the next bytes of the lines into `piece`, up to `room`, a line cut wherever the piece
// is full; returns how many. A file's bytes are the same however its pieces fall.
size_t Fill(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends, Cursor& cursor, char* piece,
            size_t room)
{
    size_t used = 0;
    while (used < room && cursor.line < lines.size()) {
        const std::string& line = lines[cursor.line];
        const std::string_view end = text::EndBytes(cursor.line < ends.size() ? ends[cursor.line] : LineEnd::CrLf);
        if (cursor.at < line.size()) {
            const size_t take = std::min(line.size() - cursor.at, room - used);
            std::memcpy(piece + used, line.data() + cursor.at, take);
            cursor.at += take;
            used += take;
            if (cursor.at < line.size())
                break;
        }
        const size_t endAt = cursor.at - line.size();
        const size_t take = std::min(end.size() - endAt, room - used);
        // A last line without an end has none to copy.
        if (take > 0)
            std::memcpy(piece + used, end.data() + endAt, take);
        cursor.at += take;
        used += take;
        if (cursor.at == line.size() + end.size()) {
            ++cursor.line;
            cursor.at = 0;
        }
    }
    return used;
}

// Two pieces: one filled on the gathering thread while the other is written on the caller's.
class Pieces {
public:
    explicit Pieces(size_t size) : size_(size)
    {
        for (Piece& piece : pieces_)
            piece.bytes.reset(new char[size]);
    }

    // The gathering thread's loop: fills each piece once it is written, until the lines end or
    // the writing stops.
    void Gather(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends)
    {
        Cursor cursor;
        for (int at = 0;; at ^= 1) {
            Piece& piece = pieces_[at];
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return !piece.full || stopped_; });
                if (stopped_)
                    return;
            }
            piece.used = Fill(lines, ends, cursor, piece.bytes.get(), size_);
            const bool last = cursor.line == lines.size();
            {
                const std::lock_guard lock(mutex_);
                piece.full = true;
                piece.last = last;
            }
            changed_.notify_all();
            if (last)
                return;
        }
    }

    // The writing: each piece as it is filled, until the last.
    void Write(const std::function<void(std::string_view)>& put)
    {
        for (int at = 0;; at ^= 1) {
            Piece& piece = pieces_[at];
            bool last = false;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return piece.full; });
                last = piece.last;
            }
            if (piece.used > 0)
                put(std::string_view(piece.bytes.get(), piece.used));
            if (last)
                return;
            {
                const std::lock_guard lock(mutex_);
                piece.full = false;
            }
            changed_.notify_all();
        }
    }

    void Stop()
    {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

private:
    struct Piece {
        std::unique_ptr<char[]> bytes;
        size_t used = 0;
        bool full = false;
        bool last = false;
    };
    const size_t size_;
    Piece pieces_[2];
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopped_ = false;
};

}  // namespace

void PutInPieces(const std::vector<std::string>& lines, const std::vector<LineEnd>& ends, size_t pieceSize,
                 const std::function<void(std::string_view)>& put)
{
    // A file of the usual size is a piece or two, which a thread would only delay.
    size_t bytes = 0;
    for (size_t i = 0; i < lines.size() && bytes <= 2 * pieceSize; ++i)
        bytes += lines[i].size() + 2;
    if (bytes <= 2 * pieceSize) {
        text::WriteLines(lines, ends, pieceSize, put);
        return;
    }
    Pieces pieces(pieceSize);
    std::thread gathering([&] { pieces.Gather(lines, ends); });
    try {
        pieces.Write(put);
    } catch (...) {
        pieces.Stop();
        gathering.join();
        throw;
    }
    gathering.join();
}

}  // namespace revlane::platform
