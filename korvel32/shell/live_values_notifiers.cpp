#include "live_values_notifiers.h"

#include "app/live_values_service.h"

namespace korvel {

LiveValuesNotifiers::LiveValuesNotifiers(LiveValuesService &service, QObject *parent)
        : QObject(parent), service_(service) {
    service_.onOutputQueued([this] { follow(); });
    follow();
}

LiveValuesNotifiers::~LiveValuesNotifiers() { service_.onOutputQueued({}); }

// One notifier per descriptor and kind of readiness it waits for. One that
// is no longer wanted stops at once, before its descriptor can be used
// again, and goes once its signal is over.
void LiveValuesNotifiers::follow() {
    descriptors_.clear();
    service_.appendDescriptors(descriptors_);
    std::map<Key, QSocketNotifier *> wanted;
    for (const pollfd &descriptor : descriptors_) {
        for (const auto &[event, type] :
             {std::pair{POLLIN, QSocketNotifier::Read}, {POLLOUT, QSocketNotifier::Write}}) {
            if ((descriptor.events & event) == 0) continue;
            const Key key{descriptor.fd, type};
            if (const auto kept = notifiers_.find(key); kept != notifiers_.end()) {
                wanted.insert(*kept);
                notifiers_.erase(kept);
                continue;
            }
            auto *notifier = new QSocketNotifier(descriptor.fd, type, this);
            const int fd = descriptor.fd;
            const auto revents = static_cast<short>(event);
            connect(notifier, &QSocketNotifier::activated, this, [this, fd, revents] { activated(fd, revents); });
            wanted.emplace(key, notifier);
        }
    }
    for (const auto &[key, notifier] : notifiers_) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    notifiers_ = std::move(wanted);
}

void LiveValuesNotifiers::activated(int fd, short revents) {
    service_.serve({pollfd{fd, revents, revents}});
    follow();
}

} // namespace korvel
