#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "core/network/alert_record.h"
#include "core/platform/file_stamp.h"

namespace qfd {

// How long a sender waits to hear that a receiver has seen its alert.
inline constexpr std::chrono::minutes kReceiptExpiry{10};
// Files read at most in one look, so that a Send To All to hundreds of folders costs each look
// little; an unchanged file is only looked at, not read.
inline constexpr std::size_t kReceiptFilesPerLook = 16;

// A record written into a detector's settings file, and when.
struct Delivery {
    std::string detector;  // as listed
    std::string iniPath;
    AlertRecord record;
    std::chrono::steady_clock::time_point at;
};

// The records written since the last time they were taken, and whether more may follow.
struct Deliveries {
    std::vector<Delivery> written;
    bool sending = false;
};

// The detectors (as listed) whose records were settled in one look.
struct ReceiptNews {
    std::vector<std::string> seen;
    std::vector<std::string> replaced;
    std::vector<std::string> notSeen;  // neither seen nor replaced within kReceiptExpiry

    bool Empty() const { return seen.empty() && replaced.empty() && notSeen.empty(); }
};

// The records this installation has delivered and not yet heard of. Each look reads a few of the
// receivers' files, without lock or write, and settles each record once: seen, replaced, or not
// seen in time. Once every record is settled there is nothing left to do (Settled()).
class ReceiptWatch {
  public:
    using Clock = std::chrono::steady_clock;

    // A later record to the same file takes the place of the earlier one, which this installation
    // has then replaced itself.
    void Expect(Delivery delivery);

    ReceiptNews Look(Clock::time_point now);

    bool Settled() const { return pending_.empty(); }

  private:
    struct Pending {
        Delivery delivery;
        FileStamp stamp;  // of the file as last read; Unknown readings leave it unset
        bool read = false;
    };

    // Whether the record is settled, and if so the news of it.
    static bool Settle(Pending& pending, ReceiptNews& news);

    std::deque<Pending> pending_;  // the next look starts at the front
};

}  // namespace qfd
