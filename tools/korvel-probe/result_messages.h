// What a user is told when an instrument cannot be reached: the logger's own
// message for each library result.
#pragma once

#include <cstdint>
#include <string>

// The message for a failed open, BCN check or model check, with the BCN filled in.
std::string instrumentFailureMessage(int32_t bcn, int32_t result);
