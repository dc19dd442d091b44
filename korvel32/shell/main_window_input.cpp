#include "main_window_input.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

namespace korvel {

void setMainWindowInputEnabled(QMainWindow &window, bool enabled) {
    window.menuBar()->setEnabled(enabled);
    window.centralWidget()->setEnabled(enabled);
    for (QToolBar *bar : window.findChildren<QToolBar *>()) bar->setEnabled(enabled);
}

bool mainWindowInputEnabled(const QMainWindow &window) { return window.menuBar()->isEnabled(); }

} // namespace korvel
