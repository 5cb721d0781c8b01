#include "core/network/receipt_lookout.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace qfd {

struct ReceiptLookout::Shared {
    mutable std::mutex mutex;
    mutable std::condition_variable lookEnded;
    // Touched by a look's thread alone while `looking`, and by the owner only while not.
    ReceiptWatch watch;
    std::vector<Delivery> incoming;
    ReceiptNews news;
    bool looking = false;
    bool stopping = false;
};

namespace {

void Append(std::vector<std::string>& to, std::vector<std::string>& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

}  // namespace

ReceiptLookout::ReceiptLookout() : shared_(std::make_shared<Shared>()) {}

ReceiptLookout::~ReceiptLookout() {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->stopping = true;
}

void ReceiptLookout::Expect(Delivery delivery) {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->incoming.push_back(std::move(delivery));
}

ReceiptNews ReceiptLookout::Poll(ReceiptWatch::Clock::time_point now) {
    Shared& s = *shared_;
    const std::lock_guard<std::mutex> lock(s.mutex);
    ReceiptNews news = std::exchange(s.news, {});
    if (s.looking || (s.incoming.empty() && s.watch.Settled())) return news;
    s.looking = true;
    std::thread([shared = shared_, now, incoming = std::exchange(s.incoming, {})]() mutable {
        for (Delivery& delivery : incoming) shared->watch.Expect(std::move(delivery));
        ReceiptNews found = shared->watch.Look(now);
        const std::lock_guard<std::mutex> lookLock(shared->mutex);
        shared->looking = false;
        if (!shared->stopping) {
            Append(shared->news.seen, found.seen);
            Append(shared->news.replaced, found.replaced);
            Append(shared->news.notSeen, found.notSeen);
        }
        shared->lookEnded.notify_all();
    }).detach();
    return news;
}

bool ReceiptLookout::Settled() const {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    return !shared_->looking && shared_->incoming.empty() && shared_->watch.Settled() &&
           shared_->news.Empty();
}

void ReceiptLookout::WaitForLook() const {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->lookEnded.wait(lock, [&] { return !shared_->looking; });
}

}  // namespace qfd
