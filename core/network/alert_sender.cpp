#include "core/network/alert_sender.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace qfd {

struct AlertSender::Shared {
    struct Job {
        std::string iniPath;
        AlertRecord record;
        std::uint64_t sendNumber;  // the Send call it came from
    };

    std::mutex mutex;
    std::condition_variable workArrived;  // wakes the sender thread
    std::condition_variable idle;         // wakes the waiters, only once everything is written
    std::deque<Job> queue;
    bool writing = false;
    bool stopping = false;
    bool silenced = false;          // the program is ending: nothing may be shown any more
    std::uint64_t lastSend = 0;     // numbers Send calls from 1
    std::uint64_t busyToldFor = 0;  // the last Send whose locked file has been told
    FailureSink onFailure;
    DeliverySink onDelivered;
    Writer writer;

    bool Idle() const { return queue.empty() && !writing; }

    bool MustTell(const Job& job, const WriteOutcome& outcome) {
        if (stopping || silenced || !ShowsErrorMessage(outcome)) return false;
        if (outcome.error != StoreError::Busy) return true;
        if (busyToldFor == job.sendNumber) return false;
        busyToldFor = job.sendNumber;
        return true;
    }

    // The sender thread: it owns its share of this state, so it may outlive the AlertSender.
    void Run() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            workArrived.wait(lock, [&] { return stopping || !queue.empty(); });
            if (stopping) return;
            Job job = std::move(queue.front());
            queue.pop_front();
            writing = true;
            lock.unlock();
            const WriteOutcome outcome = writer(job.iniPath, job.record);
            lock.lock();
            writing = false;
            // Under the lock, so that the sink is never called after the owner has gone.
            if (MustTell(job, outcome)) onFailure(job.iniPath, outcome);
            if (outcome.Ok() && onDelivered && !stopping) {
                onDelivered(job.iniPath, job.record);
            }
            if (Idle()) idle.notify_all();
        }
    }
};

AlertSender::AlertSender(FailureSink onFailure, Writer writer, DeliverySink onDelivered)
    : shared_(std::make_shared<Shared>()) {
    shared_->onFailure = std::move(onFailure);
    shared_->onDelivered = std::move(onDelivered);
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
    const std::uint64_t sendNumber = ++shared_->lastSend;
    for (const std::string& path : iniPaths) shared_->queue.push_back({path, record, sendNumber});
    shared_->workArrived.notify_all();
}

void AlertSender::WaitUntilIdle() {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->idle.wait(lock, [&] { return shared_->Idle(); });
}

bool AlertSender::Idle() const {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->Idle();
}

bool AlertSender::Drain(std::chrono::milliseconds bound) {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->silenced = true;
    return shared_->idle.wait_for(lock, bound, [&] { return shared_->Idle(); });
}

}  // namespace qfd
