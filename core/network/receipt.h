#pragma once

#include <string>

#include "core/network/alert_record.h"

namespace qfd {

// What became of a record this installation wrote into a receiver's mailbox.
enum class Receipt {
    Waiting,   // still there, not yet cleared
    Seen,      // the receiver showed it and cleared it ("Type" is "0" under our record)
    Replaced,  // another record stands in its place: ours was never shown there
    Unknown,   // the file could not be read whole this time: look again later
};

// Reads the receiver's settings file without its lock and without writing it, so that watching
// never stands in the way of the receiver or of other senders. A record is ours while its name and
// texts are those we sent (as the receiver reads them back); the waiting time is left out, since
// the receiver counts it down in the file.
Receipt ReadReceipt(const std::string& iniPath, const AlertRecord& sent);

}  // namespace qfd
