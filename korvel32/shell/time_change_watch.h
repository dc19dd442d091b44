// Tells when the system clock is set: a timer on the real-time clock that the
// kernel cancels whenever the clock jumps.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace korvel {

class TimeChangeWatch : public QObject {
    Q_OBJECT
public:
    explicit TimeChangeWatch(QObject *parent = nullptr);
    ~TimeChangeWatch() override;

signals:
    void timeChanged();

private:
    bool arm();
    void fired();

    int timer_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace korvel
