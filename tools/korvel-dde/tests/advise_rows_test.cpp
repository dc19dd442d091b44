// The rows korvel-dde prints from the updates of an advise: what belongs to
// one row, and columns that stay columns whatever the values hold.
#include "advise_rows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using korvel_dde::AdviseRows;

// What the rows print, kept in memory.
class Printed {
public:
    Printed() : file_(::open_memstream(&data_, &size_)) {}
    ~Printed() {
        std::fclose(file_);
        std::free(data_);
    }
    Printed(const Printed &) = delete;
    Printed &operator=(const Printed &) = delete;

    std::FILE *file() const { return file_; }
    std::string text() {
        std::fflush(file_);
        return {data_, size_};
    }

private:
    char *data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE *file_;
};

// The rows without their time column ("2026-12-09 05:14:29.008"): when an
// update came is not the point here.
std::string withoutTimes(const std::string &text) {
    std::string rows;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        rows += text.substr(at + 23, end - at - 23) + '\n';
        at = end + 1;
    }
    return rows;
}

TEST(AdviseRows, ValuesWithTheRegionalDecimalCommaStayOneColumn) {
    Printed printed;
    AdviseRows rows({"ELDATETIME", "c1"}, true, printed.file());
    rows.printHeader();
    const std::string header = printed.text();
    EXPECT_EQ(header, "time,ELDATETIME,c1\n");

    rows.add("ELDATETIME", "46365,218388310", AdviseRows::Clock::now());
    rows.add("c1", "-1,25000", AdviseRows::Clock::now());
    rows.printIfComplete();
    EXPECT_EQ(withoutTimes(printed.text().substr(header.size())), ",\"46365,218388310\",\"-1,25000\"\n");
    EXPECT_EQ(korvel_dde::csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(AdviseRows, AnItemHeardAgainBeginsTheNextRowAndAMissingOneStaysEmpty) {
    Printed printed;
    AdviseRows rows({"c1", "c5"}, false, printed.file());
    rows.add("c1", "1.00000", AdviseRows::Clock::now());
    rows.printIfComplete();
    EXPECT_EQ(printed.text(), "") << "the update may not be over";
    rows.add("c1", "2.00000", AdviseRows::Clock::now());
    rows.add("c9", "9.00000", AdviseRows::Clock::now()); // not asked for
    rows.add("c5", "5.00000", AdviseRows::Clock::now());
    rows.printIfComplete();
    rows.print(); // nothing more to print
    EXPECT_EQ(withoutTimes(printed.text()), " c1=1.00000\n c1=2.00000 c5=5.00000\n");

    Printed csv;
    AdviseRows columns({"c1", "c5"}, true, csv.file());
    columns.add("c5", "5.00000", AdviseRows::Clock::now());
    columns.print();
    EXPECT_EQ(withoutTimes(csv.text()), ",,5.00000\n");
}

} // namespace
