#include "curve_feed.h"

#include <limits>

#include "store_error.h"

namespace tl32 {
namespace {

constexpr std::size_t kValuesPerRead = 20000;
constexpr double kEndOfTime = std::numeric_limits<double>::max();

} // namespace

CurveFeed::CurveFeed(const tbase::Registry &registry, const ChartCurve &curve) : curve_(curve) {
    try {
        const tbase::Registry::Entry entry = registry.entry(curve.dataSet);
        reader_.emplace(tbase::DataSetFiles{entry.directory, entry.name});
    } catch (const tbase::StoreError &error) {
        problem_ = error.what();
    }
}

std::vector<tbase::TimedValue> CurveFeed::poll(double spanMs) {
    if (!reader_) return {};
    try {
        return readOn(spanMs);
    } catch (const tbase::StoreError &error) {
        problem_ = error.what(); // a rollover may be under way: the next poll reads on
        return {};
    }
}

std::vector<tbase::TimedValue> CurveFeed::readOn(double spanMs) {
    if (!tag_) {
        reader_->refresh();
        tag_ = reader_->tag(curve_.tag);
        if (!tag_) {
            problem_ = "Data set " + curve_.dataSet + " has no tag " + curve_.tag;
            return {};
        }
    }
    problem_.clear();
    if (!lastTime_) {
        const auto newest = reader_->newest(*tag_);
        if (!newest) return {};
        lastTime_ = newest->time - spanMs;
    }
    std::vector<tbase::TimedValue> values;
    for (;;) {
        const auto found = reader_->fetch(*tag_, *lastTime_, kEndOfTime, kValuesPerRead);
        values.insert(values.end(), found.begin(), found.end());
        if (!found.empty()) lastTime_ = found.back().time;
        if (found.size() < kValuesPerRead) return values;
    }
}

} // namespace tl32
