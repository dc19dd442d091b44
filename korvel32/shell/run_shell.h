// The windowed logger from launch to exit.
#pragma once

namespace korvel {

// The process's exit status.
int runShell(int argc, char *argv[]);

} // namespace korvel
