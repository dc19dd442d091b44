// Where a chart curve's points come from: its tag in its data set, read on
// from the last value seen, so that values a logger stores meanwhile appear.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chart_file.h"
#include "data_set_reader.h"
#include "data_set_registry.h"

namespace tl32 {

class CurveFeed {
public:
    CurveFeed(const tbase::Registry &registry, const ChartCurve &curve);

    // The tag once it is found (a logger may add it after the chart opened).
    const std::optional<tbase::TagInfo> &tag() const { return tag_; }
    // Why the curve has no values, empty when it has.
    const std::string &problem() const { return problem_; }

    // The values stored since the last call. The first values of a curve are
    // those of the last spanMs before its newest one.
    std::vector<tbase::TimedValue> poll(double spanMs);

private:
    std::vector<tbase::TimedValue> readOn(double spanMs);

    ChartCurve curve_;
    std::optional<tbase::DataSetReader> reader_;
    std::optional<tbase::TagInfo> tag_;
    std::optional<double> lastTime_;
    std::string problem_;
};

} // namespace tl32
