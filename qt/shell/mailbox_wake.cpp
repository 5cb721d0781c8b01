#include "qt/shell/mailbox_wake.h"

namespace qfd {

MailboxWake::MailboxWake(SplashWindow& window, const std::string& iniPath)
    : window_(window), watch_(iniPath) {
    if (!watch_.Active()) return;
    // This front end runs where the watch's handle is a descriptor.
    notifier_ = std::make_unique<QSocketNotifier>(watch_.WaitHandle(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { Drain(); });
}

void MailboxWake::Drain() {
    if (watch_.DrainChanges()) window_.MailboxMayHaveChanged();
}

}  // namespace qfd
