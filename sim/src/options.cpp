#include "options.h"

#include <stdexcept>

namespace korvelsim {

namespace {

int parseNumber(const std::string &text, const std::string &what, int lowest, int highest) {
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception &) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < lowest || value > highest) {
        throw std::invalid_argument(what + " must be " + std::to_string(lowest) + ".." + std::to_string(highest) +
                                    ": " + text);
    }
    return value;
}

} // namespace

InstrumentEntry parseInstrumentEntry(const std::string &text) {
    InstrumentEntry entry;
    const std::size_t firstColon = text.find(':');
    entry.bcn = parseNumber(text.substr(0, firstColon), "BCN", 1, 99);
    if (firstColon == std::string::npos) {
        return entry;
    }
    const std::string rest = text.substr(firstColon + 1);
    const std::size_t secondColon = rest.find(':');
    entry.model = rest.substr(0, secondColon);
    if (entry.model != "M100A" && entry.model != "M200A") {
        throw std::invalid_argument("model must be M100A or M200A: " + entry.model);
    }
    if (secondColon != std::string::npos) {
        entry.address = rest.substr(secondColon + 1);
        entry.addressGiven = true;
    }
    return entry;
}

Options parseOptions(const std::vector<std::string> &arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &option = arguments[i];
        const auto value = [&]() -> const std::string & {
            if (i + 1 >= arguments.size()) {
                throw std::invalid_argument(option + " needs a value");
            }
            return arguments[++i];
        };
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--general") {
            options.isolated = false;
        } else if (option == "--isolated") {
            options.isolated = true;
        } else if (option == "--port") {
            options.port = parseNumber(value(), "port", 0, 65535);
        } else if (option == "--isolated-prefix") {
            options.isolatedPrefix = value();
        } else if (option == "--ccf") {
            options.ccfPath = value();
        } else if (option == "--instrument") {
            options.instruments.push_back(parseInstrumentEntry(value()));
        } else if (option == "--queue-capacity") {
            options.queueCapacity = parseNumber(value(), "queue capacity", 1, 1000000);
        } else if (option == "--busy-time") {
            options.busyTimeMs = parseNumber(value(), "busy time", 0, 600000);
        } else if (option == "--seed") {
            options.seed = static_cast<std::uint32_t>(parseNumber(value(), "seed", 0, 1000000));
        } else if (option == "--fast") {
            options.fast = true;
        } else if (option == "--serial") {
            options.serial = true;
        } else if (option == "--fault") {
            options.faults.push_back(value());
        } else {
            throw std::invalid_argument("unknown option: " + option);
        }
    }
    return options;
}

const char *usageText() {
    return R"(Usage: korvel-sim [--general | --isolated] [--port P] [--isolated-prefix A.B.C]
                 [--ccf PATH] [--instrument BCN[:MODEL[:ADDRESS]]]... [--fault LINE]...
                 [--queue-capacity N] [--busy-time MS] [--seed S] [--fast] [--serial]

Simulates Korvel M100A / M200A instruments on loopback addresses (127.0.0.0/8 only).

  --general            each instrument listens on its ADDRESS, port P (main) and the
                       pass-through port P+2 (past 65535: (P+2) mod 65535 + 1023)
  --isolated           instrument BCN listens on A.B.C.BCN, ports 4369 and 4371
                       (an instrument's ADDRESS and --port do not apply)
  --port P             base port in general mode; 0 (the default) picks one that is free
                       on every address
  --isolated-prefix A.B.C
                       network of isolated mode (default: $KVLINK32_ISOLATED_PREFIX)
  --ccf PATH           serve every entry of a ccf.cfg; its mode and port apply unless
                       given above (model code 0 = M200A, 1 = M100A)
  --instrument BCN[:MODEL[:ADDRESS]]
                       one more instrument; MODEL M100A (default) or M200A; ADDRESS a
                       dotted loopback address (default 127.0.0.1; one instrument per
                       address in general mode)
  --fault LINE         a fault control command run before start, e.g. --fault "delay 3 200"
  --queue-capacity N   scans each instrument's queue holds (default 4000)
  --busy-time MS       how long the status shows busy after a configuration set or a
                       scan disable (default 50)
  --seed S             seed of the simulated signals (default 0; each instrument adds
                       its BCN, so instruments differ and runs repeat)
  --fast               fast mode for benchmarks: every instrument makes, at each scan
                       fetch (100), as many scans as asked for
  --serial             also an instrument's calibration port on a pseudo-terminal; its
                       path is printed as "serial PATH" before the ready line (with
                       --serial alone no instrument is served over the network)
  --help               this text

When every socket listens it prints "ready port=P" (P is 0 without instruments). Control lines are then read on
stdin, one reply line each on stdout: "ok [values]" or "error <text>". BCN may be "*"
(every instrument) except for inspection. Numbers are decimal or 0x hexadecimal.

Faults (also usable with --fault):
  silent BCN                 take requests, never answer
  delay BCN MS               hold every reply MS milliseconds
  bytewise BCN               send replies one byte at a time, 1 ms apart
  foreign BCN N              before each of the next N replies send a stale error
                             reply (sequence one less, code -999)
  error BCN CODE [CMD|*] [COUNT]
                             answer with error reply CODE (only command CMD; only COUNT times)
  close-after BCN N          close the connection on the Nth request from now, unanswered
  bad-length BCN LEN         the next reply's header announces total length LEN
  payload BCN HEX            the next reply carries these raw bytes as its payload (a
                             normal reply; its length follows), e.g. a malformed scan block
  push-before BCN CMD N      when the next request with command CMD arrives, queue N
                             scans (as push) before acting on it: scans made just
                             before, e.g., the scan disable (104)
  pause BCN                  take requests and act on them, but hold every reply
  resume BCN                 send the held replies and answer again
  refuse BCN                 close the listening sockets: connects are refused
  accept BCN                 listen again
  clear BCN                  no faults, listening, answering
  drop BCN                   close every open connection of the instrument now
State:
  model BCN TEXT...          model text of command 114 (default M100A / M200A)
  report-bcn BCN N           BCN reported by command 119 (default its own)
  compat BCN TEXT|old        text of command 127 (default "V 1.0": the logger reads
                             the number from the third character, e.g. "V 0.5",
                             "V 2.0"); old: error reply -1, as older software answers
  status BCN WORD            status word (command 2); condition bits 0..15 also raise
                             the attention flag. Overflow (bit 0) and busy (0x01000000)
                             are added by the instrument itself
  selftest BCN WORD          self-test result word (116)
  ierror BCN WORD            internal error word (4)
  dio BCN WORD               digital I/O state (109)
  totalizer BCN N            totalizer count (112)
  spy-value BCN CH VALUE     reading of channel CH for command 111 while spy is on
  attention BCN 0|1          attention flag (bit 31 of the remaining count) held on
  push BCN N [size S | channels C]
                             queue N scans (record size S = 28 + 4 C; one size while
                             scans are queued); reading of channel c in the k-th scan
                             made is k + c/100
  value BCN CH V|none        fix channel CH's input (volts, ohms, hertz, degrees C,
                             amperes for Current; for 21..30 the computed result) before
                             the temperature unit and Mx+B; none: the signal again
  special BCN CH open|overload|-overload|none
                             channel CH reads an open thermocouple (quiet NaN
                             0x7FC00000), a positive or a negative overload (+-inf)
  seed BCN S                 seed of the instrument's signals
  capacity BCN N             scan queue capacity (oldest scans beyond it are cleared)
  busy-time BCN MS           busy time after a configuration set or a scan disable
  busy-replies BCN 0|1       while busy, answer every command but 0, 1 and 2 with -3
  fast BCN 0|1               fast mode (see --fast)
Inspection:
  requests BCN               ok N: requests received on both connections
  request BCN I              ok COMMAND HEX: the I-th request (from 0), header included
  forget BCN                 empty the request log
  connections BCN            ok main=M passthru=P: connections open now
  config BCN                 ok HEX: the stored 2492-byte configuration block (host order)
  state BCN                  ok key=value...: scanning, trigger, monitor, spy, pass-through,
                             DIO, totalizer, queue, busy, capacity, fast
  counters BCN               ok produced=N fetched=N lost=N cleared=N queued=N; always
                             produced = fetched + lost + cleared + queued
  quit                       end (so does the end of stdin)

Calibration port (with --serial; "serial" takes no BCN):
  serial enable 0|1          the instrument's calibration switch (default on); off,
                             "CAL n" is refused
  serial baud N              the instrument's baud rate (default 19200); bytes sent at
                             another rate, or not 8N1, are noise and go unanswered
  serial steps F [V...]      reference values of the steps of function F (1 VDC, 2 VAC,
                             3 Ohms, 4 Hz); none: CAL_REF? is refused
  serial step-time MS        how long CAL_STEP? takes (default 300)
  serial bad-input N         refuse the next N CAL_STEP? as if the source were off
  serial fault none|silent|prompt-only|garbled|long [COUNT]
                             silent: nothing answered; prompt-only: only the 0x03
                             prompt answered; garbled: reply characters before ">" have
                             their top bit flipped; long: replies padded with blanks to
                             40 characters; COUNT: only that many replies
  serial received [I]        ok N: lines received; with I, the I-th line ("<03>" for a
                             prompt byte)
  serial calibrated          ok V...: the value each performed step took
  serial forget              empty both logs
  serial state               ok enabled function step left resets line xonxoff noise
  serial path                ok PATH

Scanning (from the stored configuration):
  Enable (103) mode 0 starts now; mode 1 starts at the given instrument time, and a
  time already past is answered -11. Disable (104) stops. Interval trigger (option
  bit 6): a scan every interval1 from the start. Alarm trigger (bit 7): the alarms
  are checked every alarmCheckInterval from the start; while a channel with the alarm
  trigger bit (bit 0 of alarms) is in alarm, a scan every interval2 from the check
  that found it. External trigger (bit 8): command 102 with a non-zero value makes
  one scan while scanning. An interval of zero scans as fast as the model can
  (M200A 50 ms, M100A 500 ms). Scans are made on the monotonic clock: a late
  simulator makes every scan that fell due, each stamped with its own time.
  Time stamps come from the instrument clock: the PC's local time until command 106
  sets it, then running on from there.
  A record is 28 + 4 x (channels not off) bytes, readings in channel order; its first
  word counts the scans made (from 1). Before any configuration the size is 148.
  The queue holds --queue-capacity scans. When full, memory mode 2 (options bits
  9..10) discards the new scan, modes 0 and 1 overwrite the oldest; either sets
  status bit 0 and the attention flag until the status (2) is read. With option bit
  11 clear the instrument stops scanning instead once the queue is full. A new
  configuration (108, 129) stops scanning and empties the queue.
Readings:
  Each analog input follows a slow wave (period 20..60 s) with a little noise, from
  its seed, channel and the time since the start of scanning, inside its range:
  VDC within +-80 % of the range, VAC and Ohms 5..85 %, Freq 50..950 Hz, RTD 15..35
  degrees C, thermocouple 0..100 degrees C, Current 5..19 mA (4-20 mA) or 10..90 mA
  (0-100 mA) across its shunt. Temperatures turn Fahrenheit with option bit 2. Mx+B
  applies to every channel; special readings stand as they are. Computed channels
  (21..30), in channel order from the readings before them: Average of the channels
  in aux; Chan A - Chan B; Chan A - Average; Equation by the byte code at aux (SQR is
  the square root, INT cuts toward zero; a bad code or stack gives a quiet NaN).
  Alarms: LO in alarm below its limit, HI above; a NaN is in neither. A line named in
  output1/2 is on while its alarm is and off otherwise (set at every scan; DIO set
  changes the other lines at once, the alarm lines until the next scan). The
  totalizer counts one pulse per scan.

Instrument answers: unknown command or a command on the wrong connection: error -1;
request payload of the wrong size: error -9; spy off or no reading known: error -10.
Status (2) shows 0x01000000 (busy) for --busy-time after 108, 129 or 104.
Spy (111) answers the spy-value when one is set, else the live reading of a configured
channel, else (before any configuration) the newest queued scan. Temperature
services: 120 answers 25.0; 121 (i, a, b) answers a*b + i; 122 (i, a) answers a + i.
DIO set (110, 205) with (mask, value) changes the lines in mask to value.
)";
}

} // namespace korvelsim
