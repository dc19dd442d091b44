#include "logging/master_pairing.h"

#include "datafiles/scan_time.h"
#include "setup/scan_fields.h"

#include <algorithm>

namespace korvel {
namespace {

constexpr std::int16_t kHeldScan = ScanBuffer::kHeldScan;

// Calendar seconds of a scan, milliseconds included. The run carries the
// daylight states of its instrument's scans.
double scanSeconds(const ScanRecord &scan, LoggingRun &run) {
    const ScanTime converted = convertScanTime(scan.time, run.daylight);
    return static_cast<double>(converted.seconds) + static_cast<double>(scanMilliseconds(scan)) / 1000.0;
}

int scanCount(const ScanBuffer &buffer) { return std::max(buffer.header().count, 0); }

// One turn of the Master: each slave's pairing index moves to its scan
// nearest the Master scan at hand, reading more of the slave's scans as the
// Master's time passes them.
class PairingTurn {
public:
    PairingTurn(PairingInstruments &instruments, const std::vector<int> &slaves, bool heldScanMayWait)
            : instruments_(instruments), slaves_(slaves), empty_(slaves.size(), false),
              heldScanMayWait_(heldScanMayWait) {}

    // False when the Master scan at time t should rather wait for slave scans.
    bool pairAll(double t) {
        bool complete = true;
        for (std::size_t k = 0; k < slaves_.size(); ++k) complete &= pairSlave(k, t);
        return complete;
    }

    // The slaves' paired scans; nullptr for a slave without scans yet.
    std::span<const ScanRecord *const> pairedScans() {
        records_.resize(slaves_.size());
        pointers_.assign(slaves_.size(), nullptr);
        for (std::size_t k = 0; k < slaves_.size(); ++k) {
            const int slave = slaves_[k];
            if (!instruments_.run(slave).hasData) continue;
            const ScanBuffer &buffer = instruments_.scanBuffer(slave);
            records_[k] = buffer.pairingIndex == kHeldScan ? buffer.heldScan : buffer.record(buffer.pairingIndex);
            pointers_[k] = &records_[k];
        }
        return pointers_;
    }

private:
    bool pairSlave(std::size_t k, double t) {
        const int slave = slaves_[k];
        LoggingRun &run = instruments_.run(slave);
        ScanBuffer &buffer = instruments_.scanBuffer(slave);
        if (!run.hasData) {
            buffer.pairingIndex = 0;
            if (!empty_[k] && readMore(slave) == 0) empty_[k] = true;
            return run.hasData || !heldScanMayWait_;
        }
        bool complete = true;
        int count = scanCount(buffer);
        int index = buffer.pairingIndex;
        double previous = 0;
        while (index < count) {
            const double s = scanSeconds(index == kHeldScan ? buffer.heldScan : buffer.record(index), run);
            const double x = s - t;
            if (x > 0) {
                // Of two scans equally far away the earlier is taken.
                buffer.pairingIndex = static_cast<std::int16_t>(t - previous > x ? index : index - 1);
                break;
            }
            previous = s;
            if (count - index != 1) {
                ++index;
                continue;
            }
            // The slave's last scan is still before the Master's: keep it and
            // look at the scans that came after it.
            if (count > 0) buffer.heldScan = buffer.record(index);
            buffer.pairingIndex = kHeldScan;
            count = empty_[k] ? emptied(buffer) : readMore(slave);
            if (count == 0) {
                empty_[k] = true;
                complete = !heldScanMayWait_;
            }
            index = 0;
        }
        return complete;
    }

    static int emptied(ScanBuffer &buffer) {
        ScanBufferHeader header = buffer.header();
        header.count = 0;
        buffer.setHeader(header);
        return 0;
    }

    // The scans of a new read of the slave; 0 when it brought none or failed.
    int readMore(int slave) {
        ScanBuffer &buffer = instruments_.scanBuffer(slave);
        emptied(buffer);
        return instruments_.readScans(slave) ? scanCount(buffer) : 0;
    }

    PairingInstruments &instruments_;
    const std::vector<int> &slaves_;
    std::vector<bool> empty_; // no further scans from this slave in this turn
    bool heldScanMayWait_;
    std::vector<ScanRecord> records_;
    std::vector<const ScanRecord *> pointers_;
};

} // namespace

PairingOutcome MasterPairing::serve(PairingInstruments &instruments, int master, const std::vector<int> &slaves,
                                    std::int64_t now) {
    ScanBuffer &buffer = instruments.scanBuffer(master);
    LoggingRun &run = instruments.run(master);
    if (!run.hasData) buffer.pairingIndex = kHeldScan;

    PairingOutcome outcome;
    outcome.readSucceeded = instruments.readScans(master);
    const int n = outcome.readSucceeded ? scanCount(buffer) : 0;
    outcome.newScans = n;
    // Without new Master scans the held one may wait for slave scans after
    // it, unless the run drains and no later scan will come.
    PairingTurn turn(instruments, slaves, n == 0 && !run.draining);

    for (int j = kHeldScan; j < std::max(n - 1, 0); ++j) {
        if (j == kHeldScan && buffer.pairingIndex != ScanBuffer::kHeldMasterWaits) continue;
        const ScanRecord masterScan = j == kHeldScan ? buffer.heldScan : buffer.record(j);
        if (!turn.pairAll(scanSeconds(masterScan, run))) continue;
        buffer.pairingIndex = static_cast<std::int16_t>(j);
        // While the disk refuses, only the first few merged scans are tried.
        if (run.writeErrorShown && j > 1) continue;
        outcome.written |= instruments.writeMerged(master, masterScan, turn.pairedScans());
    }

    if (n > 0) {
        buffer.heldScan = buffer.record(n - 1);
        buffer.pairingIndex = ScanBuffer::kHeldMasterWaits;
    } else if (now - lastSlaveCheck_ > kSlaveCheckPeriod) {
        for (const int slave : slaves) instruments.queryInternalError(slave);
        lastSlaveCheck_ = now;
    }
    return outcome;
}

} // namespace korvel
