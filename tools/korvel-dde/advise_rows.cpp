#include "advise_rows.h"

#include <algorithm>
#include <ctime>

namespace korvel_dde {
namespace {

std::string localTime(AdviseRows::Clock::time_point at) {
    const std::time_t seconds = AdviseRows::Clock::to_time_t(at);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count() % 1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + length, sizeof text - length, ".%03lld", static_cast<long long>(milliseconds));
    return text;
}

} // namespace

std::string csvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void AdviseRows::printHeader() const {
    std::string header = "time";
    for (const std::string &item : items_) header += ',' + csvField(item);
    std::fprintf(out_, "%s\n", header.c_str());
}

void AdviseRows::add(const std::string &item, const std::string &value, Clock::time_point at) {
    const auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end()) return;
    auto &slot = values_[static_cast<std::size_t>(found - items_.begin())];
    if (slot) print();
    if (!rowStarted_) {
        rowStarted_ = true;
        rowTime_ = at;
    }
    slot = value;
}

void AdviseRows::printIfComplete() {
    if (std::all_of(values_.begin(), values_.end(), [](const auto &value) { return value.has_value(); })) print();
}

void AdviseRows::print() {
    if (!rowStarted_) return;
    std::string row = localTime(rowTime_);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const std::string value = values_[i].value_or("");
        row += csv_ ? ',' + csvField(value) : (values_[i] ? ' ' + items_[i] + '=' + value : std::string());
    }
    std::fprintf(out_, "%s\n", row.c_str());
    std::fflush(out_);
    std::fill(values_.begin(), values_.end(), std::nullopt);
    rowStarted_ = false;
}

} // namespace korvel_dde
