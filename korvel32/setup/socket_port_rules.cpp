#include "setup/socket_port_rules.h"

#include "setup/dialog_numbers.h"

namespace korvel {
namespace {
// Below 1024 the ports belong to the system's own services.
constexpr unsigned long kLowestPort = 1024;
constexpr unsigned long kHighestPort = 65535;
} // namespace

Checked<SocketPortControl> SocketPortModel::accept(const std::string &text) {
    const auto port = typedWholeNumber(text);
    if (!port || *port < kLowestPort || *port > kHighestPort)
        return refuse(message::kSocketPortRange, SocketPortControl::Port);
    port_ = static_cast<std::uint32_t>(*port);
    return std::nullopt;
}

} // namespace korvel
