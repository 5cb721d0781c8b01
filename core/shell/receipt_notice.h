#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "core/network/receipt_watch.h"

namespace qfd {

// How often the receivers' files are looked into while receipts are awaited: notices of receipts
// that come within one interval are one notice.
inline constexpr int kReceiptLookMs = 1000;

// A notification from the tray icon: UTF-8, with LF line breaks.
struct TrayNotice {
    std::string title;
    std::string text;
};

// Detectors named in one notice at the most; the rest are counted.
inline constexpr std::size_t kNoticeNamesShown = 5;

// One notice for everything a look into the receivers' files settled, or nothing when it settled
// nothing: which detectors have seen the alert and when (`clock`, the local time of day), whose
// record another sender replaced before it was seen, and which have not seen it in time.
std::optional<TrayNotice> DescribeReceipts(const ReceiptNews& news, const std::string& clock);

// The local time of day as a notice tells it: "14:02:31".
std::string ClockText(std::chrono::system_clock::time_point when);

}  // namespace qfd
