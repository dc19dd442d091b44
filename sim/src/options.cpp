#include "options.h"

#include <stdexcept>

namespace korvelsim {

namespace {

int parseNumber(const std::string& text, const std::string& what, int lowest, int highest) {
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < lowest || value > highest) {
        throw std::invalid_argument(what + " must be " + std::to_string(lowest) + ".." + std::to_string(highest) +
                                    ": " + text);
    }
    return value;
}

}  // namespace

InstrumentSpec parseInstrumentSpec(const std::string& text) {
    InstrumentSpec spec;
    const std::size_t firstColon = text.find(':');
    spec.bcn = parseNumber(text.substr(0, firstColon), "BCN", 1, 99);
    if (firstColon == std::string::npos) {
        return spec;
    }
    const std::string rest = text.substr(firstColon + 1);
    const std::size_t secondColon = rest.find(':');
    spec.model = rest.substr(0, secondColon);
    if (spec.model != "M100A" && spec.model != "M200A") {
        throw std::invalid_argument("model must be M100A or M200A: " + spec.model);
    }
    if (secondColon != std::string::npos) {
        spec.address = rest.substr(secondColon + 1);
        spec.addressGiven = true;
    }
    return spec;
}

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto value = [&]() -> const std::string& {
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
            options.instruments.push_back(parseInstrumentSpec(value()));
        } else if (option == "--fault") {
            options.faults.push_back(value());
        } else {
            throw std::invalid_argument("unknown option: " + option);
        }
    }
    return options;
}

const char* usageText() {
    return R"(Usage: korvel-sim [--general | --isolated] [--port P] [--isolated-prefix A.B.C]
                 [--ccf PATH] [--instrument BCN[:MODEL[:ADDRESS]]]... [--fault LINE]...

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
  --help               this text

When every socket listens it prints "ready port=P". Control lines are then read on
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
  refuse BCN                 close the listening sockets: connects are refused
  accept BCN                 listen again
  clear BCN                  no faults, listening
State:
  model BCN TEXT...          model text of command 114 (default M100A / M200A)
  report-bcn BCN N           BCN reported by command 119 (default its own)
  compat BCN TEXT|old        text of command 127 (default "V 1.0": the logger reads
                             the number from the third character); old: error reply -1
  status BCN WORD            status word (commands 2)
  selftest BCN WORD          self-test result word (116)
  ierror BCN WORD            internal error word (4)
  dio BCN WORD               digital I/O state (109)
  totalizer BCN N            totalizer count (112)
  spy-value BCN CH VALUE     reading of channel CH for command 111 while spy is on
  attention BCN 0|1          attention flag (bit 31 of the remaining count of scan blocks)
  push BCN N [size S | channels C]
                             queue N scans (record size S = 28 + 4 C, default 148); reading
                             of channel c in the k-th scan made is k + c/100
Inspection:
  requests BCN               ok N: requests received on both connections
  request BCN I              ok COMMAND HEX: the I-th request (from 0), header included
  forget BCN                 empty the request log
  connections BCN            ok main=M passthru=P: connections open now
  config BCN                 ok HEX: the stored 2492-byte configuration block (host order)
  state BCN                  ok key=value...: scanning, trigger, monitor, spy, pass-through,
                             DIO, totalizer, queue
  quit                       end (so does the end of stdin)

Instrument answers: unknown command or a command on the wrong connection: error -1;
request payload of the wrong size: error -9; spy off or no reading known: error -10.
Temperature services: 120 answers 25.0; 121 (i, a, b) answers a*b + i; 122 (i, a)
answers a + i. DIO set (110, 205) with (mask, value) changes the lines in mask to value.
)";
}

}  // namespace korvelsim
