#include "run_shell.h"

#include "app/command_line.h"
#include "live_window_set.h"
#include "main_frame.h"
#include "qt_user_interface.h"
#include "shell_application.h"
#include "shell_icons.h"
#include "termination_notifier.h"

#include <QApplication>

#include <string>
#include <vector>

namespace korvel {

int runShell(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QApplication::setWindowIcon(applicationIcon());
    // Qt has taken its own options out of argv.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    QtUserInterface ui;
    ShellApplication application(parseArguments(arguments), ui, [&ui](CMainFrame &frame) {
        ui.setMainWindow(&frame);
        ui.setLiveWindows(&frame.liveWindows());
    });
    if (!application.start()) return 1;
    TerminationNotifier termination;
    QObject::connect(&termination, &TerminationNotifier::terminationRequested, application.mainWindow(),
                     &QWidget::close);
    const int status = QApplication::exec();
    application.shutDown();
    return status;
}

} // namespace korvel
