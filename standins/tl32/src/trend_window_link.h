// How programs reach a running chart window. Each chart window listens on a
// per-user local socket named after the window class "TrendWindow" and its
// title ("TrendWindow-" and 16 hex digits of the title's FNV-1a hash), in a
// directory only its user can enter: TL32_SOCKET_DIR, else
// $XDG_RUNTIME_DIR/trend-link, else /tmp/trend-link-<uid>. One window holds
// a title (a lock on the socket's name + ".lock", see TrendWindowServer). A
// client sends one request line and hangs up.
#pragma once

#include <QString>

namespace tl32 {

inline constexpr char kComeForwardRequest[] = "come forward\n";
inline constexpr char kCloseRequest[] = "close\n";

// The directory, made (0700) when missing; empty when it exists but is not
// the user's own and private (then no window listens and none is found).
QString trendWindowSocketDirectory();
// The full socket name of the chart window with this title; empty without a directory.
QString trendWindowSocketName(const QString &title);

// Asks the chart window with this title to come forward; true when one answered.
bool bringTrendWindowForward(const QString &title);
// The same for whichever chart window answers first.
bool bringAnyTrendWindowForward();
// Asks every chart window to close; the number that answered.
int closeTrendWindows();

} // namespace tl32
