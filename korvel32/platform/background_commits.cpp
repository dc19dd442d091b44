#include "platform/background_commits.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include <unistd.h>

namespace korvel {
namespace {

class BackgroundCommits {
public:
    ~BackgroundCommits() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable()) thread_.join(); // after the commits asked for
    }

    void request(int fd) {
        {
            const std::lock_guard lock(mutex_);
            if (std::find(waiting_.begin(), waiting_.end(), fd) != waiting_.end()) return;
            waiting_.push_back(fd);
            if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
        }
        changed_.notify_all();
    }

    void settle(int fd) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
            return running_ != std::optional(fd) && std::find(waiting_.begin(), waiting_.end(), fd) == waiting_.end();
        });
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return stopping_ || !waiting_.empty(); });
            if (waiting_.empty()) return; // stopping, with nothing left to commit
            running_ = waiting_.front();
            waiting_.pop_front();
            lock.unlock();
            ::fdatasync(*running_); // failed writes, not commits, are what the logger reports
            lock.lock();
            running_.reset();
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> waiting_;
    std::optional<int> running_;
    bool stopping_ = false;
    std::thread thread_; // started by the first request
};

BackgroundCommits &commits() {
    static BackgroundCommits shared;
    return shared;
}

} // namespace

void commitInBackground(int fd) { commits().request(fd); }

void settleCommits(int fd) { commits().settle(fd); }

} // namespace korvel
