// The window's way of serving the live-values clients: a socket notifier on
// each of the service's descriptors, so that the Qt event loop (and the
// library's pump while it waits on an instrument) serves a client as soon
// as it is ready. The notifiers follow the service's descriptors after every
// serving and whenever the service queues output of its own accord.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <map>
#include <utility>
#include <vector>

#include <poll.h>

namespace korvel {

class LiveValuesService;

class LiveValuesNotifiers : public QObject {
    Q_OBJECT
public:
    explicit LiveValuesNotifiers(LiveValuesService &service, QObject *parent = nullptr);
    ~LiveValuesNotifiers() override;

private:
    using Key = std::pair<int, QSocketNotifier::Type>;

    void follow();
    void activated(int fd, short revents);

    LiveValuesService &service_;
    std::vector<pollfd> descriptors_;
    std::map<Key, QSocketNotifier *> notifiers_; // children of this object
};

} // namespace korvel
