// The longest texts the configuration dialogs' fields take. The setup keeps
// its texts as UTF-8 in fixed fields, so a limit counts bytes: a letter
// outside ASCII takes two or more of them.
#pragma once

#include "setup/instrument_setup.h"

#include <cstddef>
#include <string>

namespace korvel::text_limit {

inline constexpr std::size_t kChannelLabel = kChannelLabelLength;       // 15
inline constexpr std::size_t kUnitsLabel = 9;                           // one short of the stored field
inline constexpr std::size_t kEquation = kEquationLength;               // 100
inline constexpr std::size_t kDescription = kDescriptionLength;         // 79
inline constexpr std::size_t kDataFilePath = kDataFilePathLength;       // 259
inline constexpr std::size_t kDataFileComment = kDataFileCommentLength; // 69
inline constexpr std::size_t kBatchName = kBatchNameLength;             // 25
inline constexpr std::size_t kDeadbandValue = 20;
inline constexpr std::size_t kRolloverValue = 20;
inline constexpr std::size_t kDurationHours = 3;
inline constexpr std::size_t kDurationMinutes = 2;
inline constexpr std::size_t kDurationSeconds = 2;
inline constexpr std::size_t kBatchHours = 3;
inline constexpr std::size_t kBatchMinutes = 2;

// Whether text fits a field with this limit.
inline bool fits(const std::string &text, std::size_t limit) { return text.size() <= limit; }

} // namespace korvel::text_limit
