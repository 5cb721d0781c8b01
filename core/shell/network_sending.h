#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/network/alert_sender.h"
#include "core/network/receipt_watch.h"
#include "core/platform/single_instance.h"
#include "core/settings/settings_mirror.h"
#include "core/shell/splash_window.h"

namespace qfd {

// What a failed send shows: "An error has occurred: ..." titled "Error N".
struct SendFailureMessage {
    std::string text;
    std::string title;
};
SendFailureMessage DescribeSendFailure(const WriteOutcome& outcome);

// The tray menu's network alerts: the record taken from this installation's settings, written
// into each detector's settings file by a sender thread started with the first of them, and what
// is still queued finished within a bound when the program ends. A failure that must be told is
// handed to `tell` on the sender's thread; the front end shows it on its own. The records written
// are kept for the user-interface thread to take (TakeDeliveries), which watches for their
// receipts.
class NetworkSending {
  public:
    using Tell = std::function<void(const SendFailureMessage&)>;

    NetworkSending(SettingsMirror& mirror, Tell tell);

    void Send(const std::vector<std::string>& detectorPaths);
    // Waits for what is queued, at most kFinishSendingBound; nothing is told from then on.
    void Finish();

    Deliveries TakeDeliveries();

  private:
    SettingsMirror& mirror_;
    Tell tell_;
    std::mutex deliveredMutex_;
    std::vector<Delivery> delivered_;
    std::unique_ptr<AlertSender> sender_;
};

// What the shell needs from around it: the installation in programDirectory, whether another copy
// of it runs, and the network sending.
StartupEnvironment MakeStartupEnvironment(std::string programDirectory,
                                          const SingleInstance& instance, NetworkSending& sending);

}  // namespace qfd
