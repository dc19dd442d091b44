// Commits files to the disk on a thread of its own. A commit (fdatasync)
// waits for the disk, often for milliseconds, and the logging loop that asks
// for one every second for each data file must not wait with it.
#pragma once

namespace korvel {

// Asks for what was written to fd to be committed to the disk and returns at
// once. A request for a file whose commit is still waiting joins it.
void commitInBackground(int fd);

// Waits until no commit of fd is waiting or running. Called before fd is
// closed, so that a commit never meets another file under the same number.
void settleCommits(int fd);

} // namespace korvel
