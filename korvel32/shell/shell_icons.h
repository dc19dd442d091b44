// The program's pictures, all drawn by our own code so that they share one
// palette and stay sharp on high-density screens.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace korvel {

// The instrument bar's three pictures (resources 343, 344 and 346).
enum class InstrumentIcon { Idle, Logging, LoggingSimulated };

QIcon instrumentIcon(InstrumentIcon kind);

// The toolbar picture of a command on the toolbar; any other command has none
// (a null icon).
QIcon commandIcon(int commandId);

QIcon applicationIcon();

// The live windows' pictures: Quick Plot's window icon (resource 347) and the
// logging status window's alarm sign (resource 342).
QIcon quickPlotIcon();
QIcon alarmIcon();

// The start-up picture with the product name, about 400 x 250.
QPixmap splashPixmap();

} // namespace korvel
