// The updates of an advise as korvel-dde prints them: the values of one
// update of the topic on one line, with the local time they came at, either
// as "ITEM=VALUE" pairs or as comma-separated columns under a header.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace korvel_dde {

class AdviseRows {
public:
    using Clock = std::chrono::system_clock;

    // items: the columns, in the logger's spelling.
    AdviseRows(std::vector<std::string> items, bool csv, std::FILE *out)
            : items_(std::move(items)), values_(items_.size()), csv_(csv), out_(out) {}

    void printHeader() const;

    // An item's value. The logger sends all values of an update together, so
    // a value for an item the row already holds begins the next row.
    void add(const std::string &item, const std::string &value, Clock::time_point at);
    // Prints the row when it holds a value of every item.
    void printIfComplete();
    // Prints the row as far as it goes, when the update is over.
    void print();

private:
    std::vector<std::string> items_;
    std::vector<std::optional<std::string>> values_;
    bool csv_;
    std::FILE *out_;
    Clock::time_point rowTime_{};
    bool rowStarted_ = false;
};

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string &text);

} // namespace korvel_dde
