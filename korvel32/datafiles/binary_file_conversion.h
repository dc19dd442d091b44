// Reading a Fast data file for a conversion: the checksum line and the six
// header lines, the record layout that the column counts of line 5 give, and
// then the merged records, each handed whole to the target that the
// conversion writes (an ASCII file, a Trend Link data set).
#pragma once

#include "datafiles/conversion.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class UserInterface;

// The instruments of a merged record: the owner first, then each slave.
struct BinaryRecordLayout {
    std::vector<std::size_t> channels; // the readings of each instrument

    // The owner's record, then each slave's record from byte 12 on: the
    // slaves share the owner's time.
    std::size_t recordSize() const;
    // Where the bytes of instrument i (0 = the owner) begin in a record, and
    // how many there are.
    std::size_t partOffset(std::size_t instrument) const;
    std::size_t partSize(std::size_t instrument) const;
};

// The layout that header line 5 gives: one or two digits per instrument,
// separated by anything else, the owner's being its channels + 5 and each
// slave's its channels + 4. Nothing when the line is not such a list.
std::optional<BinaryRecordLayout> layoutOfColumnCounts(std::string_view line);

struct BinaryFileHeader {
    // The six lines after the checksum line, each as in the file, line end
    // included; the first names the source file.
    std::vector<std::string> lines;
    BinaryRecordLayout layout;
};

// What a conversion of a Fast data file writes.
class BinaryConversionTarget {
public:
    virtual ~BinaryConversionTarget() = default;

    // Creates the target; false, after saying why, when it cannot.
    virtual bool create() = 0;
    // The source's header has been read.
    virtual ConversionFlow begin(const BinaryFileHeader &header) = 0;
    // count whole merged records, back to back.
    virtual ConversionFlow write(const char *records, std::size_t count) = 0;
    // Closes the target; false when what was written could not be stored.
    virtual bool close() = 0;
};

// Reads the Fast data file at sourcePath into the target. A file whose
// header is not one of a Fast data file is refused, naming sourcePath; a
// last record cut short is left out.
std::unique_ptr<Conversion> makeBinaryFileConversion(const std::string &sourcePath,
                                                     std::unique_ptr<BinaryConversionTarget> target, UserInterface &ui);

} // namespace korvel
