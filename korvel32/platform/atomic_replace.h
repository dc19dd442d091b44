// Replacing a whole file so that it is either the old one or the new one,
// even across a crash or a power cut: the bytes go to a temporary file beside
// it, which is flushed to the disk and renamed over it, and the directory is
// flushed so that the rename itself lasts.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

// The new file keeps the permissions of the one it replaces; a file made anew
// gets those the process's umask allows. False when the file could not be
// written whole: the old file is then as it was and no temporary file stays.
bool replaceFile(const std::string &path, std::string_view bytes);

} // namespace korvel
