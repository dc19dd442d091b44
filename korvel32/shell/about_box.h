// The about box: product name, version, copyright and the application icon.
#pragma once

class QWidget;

namespace korvel {

// Shows the about box modally, centred on the screen, until OK.
void showAboutBox(QWidget *parent);

} // namespace korvel
