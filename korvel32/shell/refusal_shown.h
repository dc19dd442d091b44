// How a dialog tells the user why it refused an entry: the message with the
// exclamation icon, then the focus on the field at fault (if one is named)
// with its text selected for typing over.
#pragma once

#include "platform/user_interface.h"

#include <string>

class QWidget;

namespace korvel {

void showRefusal(UserInterface &ui, const std::string &text, QWidget *field);

} // namespace korvel
