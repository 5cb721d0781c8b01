#pragma once

#include <memory>

#include "core/network/receipt_watch.h"

namespace qfd {

// A ReceiptWatch whose looks run off the user-interface thread: a receiver's share that hangs
// holds up only the receipts, never the tray. Each look runs on a thread of its own that ends
// with it, so nothing runs while no receipt is awaited.
class ReceiptLookout {
  public:
    ReceiptLookout();
    ReceiptLookout(const ReceiptLookout&) = delete;
    ReceiptLookout& operator=(const ReceiptLookout&) = delete;
    // Never waits for a look in progress; its news is dropped.
    ~ReceiptLookout();

    void Expect(Delivery delivery);

    // Never waits: the news of the looks that have ended since the last call, and a new look
    // started when none is running and a receipt is awaited.
    ReceiptNews Poll(ReceiptWatch::Clock::time_point now);

    // Nothing awaited, no look running and no news left to take.
    bool Settled() const;

    // Blocks until the look in progress, if any, has ended.
    void WaitForLook() const;

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace qfd
