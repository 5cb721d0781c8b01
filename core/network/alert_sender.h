#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/network/alert_record.h"

namespace qfd {

// How long the program's end waits for alerts still being sent: enough for a burst to many
// folders, short enough that a hung share does not keep the process around.
inline constexpr std::chrono::milliseconds kFinishSendingBound{2000};

// Writes alert records into detectors' settings files on one background thread, one detector
// after another in the order they were handed over, so that a slow or hung share holds up the
// detectors queued after it but never the tray menu.
class AlertSender {
  public:
    using Writer = std::function<WriteOutcome(const std::string& iniPath, const AlertRecord&)>;
    // Called on the sender's thread for every send that must show the error message; the front end
    // passes it on to its user-interface thread. A locked settings file is told once per Send: a
    // peer's backup or scanner holding many files must not raise one message box per detector.
    using FailureSink = std::function<void(const std::string& iniPath, const WriteOutcome&)>;
    // Called on the sender's thread for every record written, never after the sender is destroyed.
    using DeliverySink = std::function<void(const std::string& iniPath, const AlertRecord&)>;

    explicit AlertSender(FailureSink onFailure, Writer writer = SendNetworkAlert,
                         DeliverySink onDelivered = {});
    AlertSender(const AlertSender&) = delete;
    AlertSender& operator=(const AlertSender&) = delete;
    // Does not wait for a send in progress: a hung share must not hold up the program's end.
    ~AlertSender();

    // Queues the record for each settings file, in this order.
    void Send(const AlertRecord& record, const std::vector<std::string>& iniPaths);

    // Blocks until everything queued so far has been written.
    void WaitUntilIdle();
    // Whether everything queued so far has been written, without waiting.
    bool Idle() const;

    // For the program's end: waits until everything queued has been written or the bound has
    // passed, and true when all was written. No failure is reported from here on, since nothing
    // may be shown any more.
    bool Drain(std::chrono::milliseconds bound);

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace qfd
