#include "LinesCommand.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace revlane::ui {

namespace {

// A step dropped by the undo stack (the steps undone, when a new one is made; every step, when a
// file is read) takes as long to free as its change took to make, a million lines and more. Its
// lines are freed on a thread of their own, so that the gesture that dropped them does not wait.
class Disposal {
public:
    ~Disposal()
    {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable())
            thread_.join();
    }
    void Take(std::vector<LineChange> changes)
    {
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(std::move(changes));
            if (!thread_.joinable())
                thread_ = std::thread([this] { Run(); });
        }
        wake_.notify_one();
    }

private:
    void Run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
            while (!queue_.empty()) {
                std::vector<LineChange> changes = std::move(queue_.front());
                queue_.pop_front();
                lock.unlock();
                changes = {};
                lock.lock();
            }
            if (stop_)
                return;
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::vector<LineChange>> queue_;
    bool stop_ = false;
    std::thread thread_;
};

// Smaller steps are freed at once: that costs less than handing them over.
constexpr size_t kFreedAside = 4096;

}  // namespace

LinesCommand::~LinesCommand()
{
    static Disposal disposal;
    if (changes_.size() >= kFreedAside)
        disposal.Take(std::move(changes_));
}

void LinesCommand::redo()
{
    if (made_) {
        document_.Redo(changes_);
        return;
    }
    changes_ = Make();
    made_ = true;
    if (changes_.empty())
        setObsolete(true);
}

void LinesCommand::undo()
{
    document_.Undo(changes_);
}

QString LinesCommand::Values(int count)
{
    return count == 1 ? QStringLiteral("1 value") : QStringLiteral("%1 values").arg(count);
}

}  // namespace revlane::ui
