#include "core/network/receipt_watch.h"

#include <algorithm>
#include <utility>

#include "core/network/receipt.h"

namespace qfd {

void ReceiptWatch::Expect(Delivery delivery) {
    std::erase_if(pending_,
                  [&](const Pending& p) { return p.delivery.iniPath == delivery.iniPath; });
    pending_.push_back({std::move(delivery), {}, false});
}

ReceiptNews ReceiptWatch::Look(Clock::time_point now) {
    ReceiptNews news;
    // Round the queue: each record looked at goes to the back unless it is settled.
    const std::size_t looks = std::min(pending_.size(), kReceiptFilesPerLook);
    for (std::size_t i = 0; i < looks; ++i) {
        Pending p = std::move(pending_.front());
        pending_.pop_front();
        if (!Settle(p, news)) pending_.push_back(std::move(p));
    }
    // Expired records are settled whether or not their turn came.
    std::erase_if(pending_, [&](const Pending& p) {
        if (now - p.delivery.at < kReceiptExpiry) return false;
        news.notSeen.push_back(p.delivery.detector);
        return true;
    });
    return news;
}

bool ReceiptWatch::Settle(Pending& p, ReceiptNews& news) {
    const FileStamp stamp = StampOf(p.delivery.iniPath);
    if (p.read && stamp == p.stamp) return false;  // unchanged since it was last read
    switch (ReadReceipt(p.delivery.iniPath, p.delivery.record)) {
        case Receipt::Seen:
            news.seen.push_back(p.delivery.detector);
            return true;
        case Receipt::Replaced:
            news.replaced.push_back(p.delivery.detector);
            return true;
        case Receipt::Waiting:
            p.stamp = stamp;
            p.read = true;
            break;
        case Receipt::Unknown:
            p.read = false;
            break;
    }
    return false;
}

}  // namespace qfd
