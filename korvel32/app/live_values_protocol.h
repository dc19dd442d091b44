// The words of the live-values service's line protocol, shared by the
// logger's service and its clients (korvel-dde). docs/live-values.md
// describes the protocol for other programs.
#pragma once

#include <cstddef>

namespace korvel::live_protocol {

// The service's name, and so its socket's, unless a headless logger is given another.
inline constexpr char kDefaultService[] = "korvel32";

// The first line a client receives; the number is the protocol's version.
inline constexpr char kGreeting[] = "hello korvel32-dde 1";
// The only line a client receives when every place is taken; then the logger closes.
inline constexpr char kBusy[] = "error busy: the logger serves 64 clients already";

inline constexpr std::size_t kMaxClients = 64;
inline constexpr std::size_t kMaxRequestBytes = 1024;
// Unread output a client may leave with the logger before it is disconnected.
inline constexpr std::size_t kMaxUnreadBytes = 256 * 1024;

// Requests.
inline constexpr char kConnect[] = "connect";
inline constexpr char kDisconnect[] = "disconnect";
inline constexpr char kRequest[] = "request";
inline constexpr char kAdvise[] = "advise";
inline constexpr char kUnadvise[] = "unadvise";
inline constexpr char kPoke[] = "poke";
inline constexpr char kExecute[] = "execute";

// Answers: each begins with one of these words.
inline constexpr char kConnected[] = "connected";
inline constexpr char kDisconnected[] = "disconnected";
inline constexpr char kData[] = "data";
inline constexpr char kAdvising[] = "advising";
inline constexpr char kUnadvised[] = "unadvised";
inline constexpr char kUpdate[] = "update";
inline constexpr char kRefused[] = "refused";
inline constexpr char kError[] = "error";

} // namespace korvel::live_protocol
