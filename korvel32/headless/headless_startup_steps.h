// What the headless logger adds to start-up and shutdown: its live-values
// service, under the name it was given.
#pragma once

#include "app/application_startup.h"
#include "app/live_values_service.h"

#include <iostream>
#include <string>
#include <utility>

namespace korvel {

class HeadlessStartupSteps : public StartupWindowSteps {
public:
    HeadlessStartupSteps(LiveValuesService &liveValues, std::string serviceName)
            : liveValues_(liveValues), serviceName_(std::move(serviceName)) {}

    bool startDdeServer() override { return liveValues_.start(serviceName_, std::cerr); }
    void stopDdeServer() override { liveValues_.stop(); }

private:
    LiveValuesService &liveValues_;
    std::string serviceName_;
};

} // namespace korvel
