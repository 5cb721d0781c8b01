#pragma once

#include <QSocketNotifier>
#include <memory>
#include <string>

#include "core/platform/folder_watch.h"
#include "core/shell/splash_window.h"

namespace qfd {

// Wakes frmSplash's behaviour as soon as the system says that its settings file changed: every
// notice pending on the folder watch is taken, then the mailbox is looked into once. Where the
// folder cannot be watched it does nothing, and the main timer's poll goes on alone.
class MailboxWake {
  public:
    MailboxWake(SplashWindow& window, const std::string& iniPath);
    MailboxWake(const MailboxWake&) = delete;
    MailboxWake& operator=(const MailboxWake&) = delete;

    bool Active() const { return watch_.Active(); }

  private:
    void Drain();

    SplashWindow& window_;
    FolderWatch watch_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qfd
