#include "network/alert_sender.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace qfd {

struct AlertSender::Shared {
    struct Job {
        std::string iniPath;
        AlertRecord record;
    };

    std::mutex mutex;
    std::condition_variable workArrived;  // wakes the sender thread
    std::condition_variable idle;         // wakes WaitUntilIdle, only once everything is written
    std::deque<Job> queue;
    bool busy = false;
    bool stopping = false;
    FailureSink onFailure;
    Writer writer;

    // The sender thread: it owns its share of this state, so it may outlive the AlertSender.
    void Run() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            workArrived.wait(lock, [&] { return stopping || !queue.empty(); });
            if (stopping) return;
            Job job = std::move(queue.front());
            queue.pop_front();
            busy = true;
            lock.unlock();
            const WriteOutcome outcome = writer(job.iniPath, job.record);
            lock.lock();
            busy = false;
            // Under the lock, so that the sink is never called after the owner has gone.
            if (!stopping && ShowsErrorMessage(outcome)) onFailure(job.iniPath, outcome);
            if (queue.empty()) idle.notify_all();
        }
    }
};

AlertSender::AlertSender(FailureSink onFailure, Writer writer)
    : shared_(std::make_shared<Shared>()) {
    shared_->onFailure = std::move(onFailure);
    shared_->writer = std::move(writer);
    std::thread([shared = shared_] { shared->Run(); }).detach();
}

AlertSender::~AlertSender() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->stopping = true;
    shared_->queue.clear();
    shared_->workArrived.notify_all();
}

void AlertSender::Send(const AlertRecord& record, const std::vector<std::string>& iniPaths) {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    for (const std::string& path : iniPaths) shared_->queue.push_back({path, record});
    shared_->workArrived.notify_all();
}

void AlertSender::WaitUntilIdle() {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->idle.wait(lock, [&] { return shared_->queue.empty() && !shared_->busy; });
}

}  // namespace qfd
