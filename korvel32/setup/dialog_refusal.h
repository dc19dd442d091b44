// What a configuration dialog answers when it refuses an entry: the message
// to show, its text as shown, and the control that gets the focus back.
// Every dialog names its controls with an enumeration of its own.
#pragma once

#include "platform/string_table.h"

#include <optional>
#include <string>

namespace korvel {

template <typename Control>
struct Refusal {
    int messageId = 0;
    std::string text;
    Control focus{};

    bool operator==(const Refusal &) const = default;
};

// A check that passed (nullopt) or the refusal.
template <typename Control>
using Checked = std::optional<Refusal<Control>>;

// The refusal with the message's text as the string table holds it.
template <typename Control>
Refusal<Control> refuse(int messageId, Control focus) {
    return {messageId, resourceString(messageId), focus};
}

} // namespace korvel
