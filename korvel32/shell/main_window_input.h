// The main window's own input: its menus, toolbars and setup view. It is
// turned off while the window waits for logging to stop or for a file to
// convert, so that no command starts meanwhile, while the progress window,
// a window of its own, keeps its Abort button.
#pragma once

class QMainWindow;

namespace korvel {

void setMainWindowInputEnabled(QMainWindow &window, bool enabled);
bool mainWindowInputEnabled(const QMainWindow &window);

} // namespace korvel
