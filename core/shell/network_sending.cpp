#include "core/shell/network_sending.h"

#include "core/network/alert_record.h"
#include "core/settings/ini_path.h"

namespace qfd {

SendFailureMessage DescribeSendFailure(const WriteOutcome& outcome) {
    return {"An error has occurred: " + ErrorDescription(outcome),
            "Error " + std::to_string(ErrorNumber(outcome))};
}

NetworkSending::NetworkSending(SettingsMirror& mirror, Tell tell)
    : mirror_(mirror), tell_(std::move(tell)) {}

void NetworkSending::Send(const std::vector<std::string>& detectorPaths) {
    if (!sender_) {
        sender_ = std::make_unique<AlertSender>(
            [tell = tell_](const std::string&, const WriteOutcome& outcome) {
                tell(DescribeSendFailure(outcome));
            },
            SendNetworkAlert,
            [this](const std::string& iniPath, const AlertRecord& record) {
                // The detector as listed: the settings file's path without the file name.
                std::string detector = iniPath.substr(0, iniPath.size() - kIniFileName.size());
                const std::lock_guard<std::mutex> lock(deliveredMutex_);
                delivered_.push_back(
                    {std::move(detector), iniPath, record, std::chrono::steady_clock::now()});
            });
    }
    std::vector<std::string> files;
    for (const std::string& path : detectorPaths) files.push_back(DetectorIniPath(path));
    sender_->Send(TakeAlertRecord(mirror_), files);
}

void NetworkSending::Finish() {
    if (sender_) sender_->Drain(kFinishSendingBound);
}

Deliveries NetworkSending::TakeDeliveries() {
    Deliveries deliveries;
    // Asked before the records are taken, so that a record written meanwhile is never missed.
    deliveries.sending = sender_ && !sender_->Idle();
    const std::lock_guard<std::mutex> lock(deliveredMutex_);
    deliveries.written.swap(delivered_);
    return deliveries;
}

StartupEnvironment MakeStartupEnvironment(std::string programDirectory,
                                          const SingleInstance& instance, NetworkSending& sending) {
    StartupEnvironment environment;
    environment.programDirectory = std::move(programDirectory);
    environment.anotherInstanceRunning = [&instance] { return instance.AnotherInstanceRunning(); };
    environment.sendNetworkAlert = [&sending](const std::vector<std::string>& detectorPaths) {
        sending.Send(detectorPaths);
    };
    // Exit ends the program from inside the event loop, so it finishes the sending itself.
    environment.finishSending = [&sending] { sending.Finish(); };
    environment.takeDeliveries = [&sending] { return sending.TakeDeliveries(); };
    return environment;
}

}  // namespace qfd
