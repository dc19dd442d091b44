#include "datafiles/ascii_scan_line.h"

#include "datafiles/scan_time.h"
#include "platform/regional_formats.h"
#include "setup/scan_fields.h"

#include <charconv>

namespace korvel {

AsciiScanLine::AsciiScanLine(const RegionalFormats &formats)
        : separator_(formats.listSeparator), decimal_(formats.decimalSymbol), values_(formats.decimalSymbol) {}

char *AsciiScanLine::writeTime(const ScanRecord &scan, DaylightStates &daylight, char *out) const {
    const ScanTime time = convertScanTime(scan.time, daylight);
    return out + writeSerialDate(time.local, scanMilliseconds(scan), decimal_, out);
}

char *AsciiScanLine::writePart(const ScanRecord &scan, std::size_t channels, char *out) const {
    for (std::size_t i = 0; i < channels; ++i) {
        out = writeSeparator(out);
        out += values_.write(scan.readings[i], out);
    }
    out = writeNumber(out, scanDigitalIo(scan));
    out = writeNumber(out, scan.totalizer);
    out = writeNumber(out, scan.alarm1);
    return writeNumber(out, scan.alarm2);
}

char *AsciiScanLine::writeSeparator(char *out) const {
    out[0] = separator_;
    out[1] = ' ';
    return out + 2;
}

char *AsciiScanLine::writeNumber(char *out, std::uint32_t value) const {
    out = writeSeparator(out);
    return std::to_chars(out, out + 10, value).ptr;
}

} // namespace korvel
