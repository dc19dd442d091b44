// The Socket Port dialog: the TCP port of the instruments on a general
// network.
#pragma once

#include "setup/dialog_refusal.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

enum class SocketPortControl { Port };

inline constexpr std::size_t kSocketPortDigits = 5;

class SocketPortModel {
public:
    explicit SocketPortModel(std::int32_t port) : port_(static_cast<std::uint32_t>(port)) {}

    std::string initialText() const { return std::to_string(port_); }

    // 1024..65535, else 1321; on success port() holds it.
    Checked<SocketPortControl> accept(const std::string &text);
    std::uint32_t port() const { return port_; }

private:
    std::uint32_t port_;
};

} // namespace korvel
