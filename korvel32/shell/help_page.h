// The logger's built-in help: one page on the main window, its commands and
// the command line, shown for Help Contents and Help Search.
#pragma once

class QWidget;

namespace korvel {

void showHelpPage(QWidget *parent);

} // namespace korvel
