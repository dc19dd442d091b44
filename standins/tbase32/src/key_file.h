// A data set's KEY file: its description, its tags (in the order they were
// added, each with a number that its values carry in every values file) and
// its batches.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sqlite_db.h"

namespace tbase {

struct TagInfo {
    std::int64_t id = 0;
    std::string name;
    std::string description;
    std::string units;
    double high = 0.0;
    double low = 0.0;
    double deadband = 0.0;
};

struct BatchInfo {
    std::int64_t id = 0;
    std::string name;
    double start = 0.0;
    std::optional<double> end; // none while the batch is open
};

class KeyFile {
public:
    // A writer creates the file and its tables when they are missing.
    KeyFile(const std::string &path, bool forWriting);

    std::string description();
    void setDescription(const std::string &description);

    std::vector<TagInfo> tags();
    // Stores a new tag and returns it with its number.
    TagInfo addTag(TagInfo tag);
    void modifyTag(const TagInfo &tag);

    // In order of their start.
    std::vector<BatchInfo> batches();
    std::int64_t addBatch(const std::string &name, double start);
    void endBatch(std::int64_t id, double end);

private:
    Database db_;
};

} // namespace tbase
