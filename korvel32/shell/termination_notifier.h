// SIGTERM and SIGHUP close the main window as its close button does: the
// handler writes to a pipe that the event loop watches.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace korvel {

class TerminationNotifier : public QObject {
    Q_OBJECT
public:
    TerminationNotifier();
    ~TerminationNotifier() override;

signals:
    void terminationRequested();

private:
    void drain();

    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace korvel
