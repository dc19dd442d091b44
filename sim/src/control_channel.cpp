#include "control_channel.h"

#include "control_words.h"

#include <charconv>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace korvelsim {

namespace {

using Args = std::vector<std::string>;

std::string hex(const Bytes &bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

Bytes fromHex(const std::string &text) {
    if (text.size() % 2 != 0) {
        throw ControlError("odd number of hex digits");
    }
    Bytes bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(toInteger("0x" + text.substr(i, 2))));
    }
    return bytes;
}

int toChannel(const std::string &text) {
    const std::int64_t channel = toInteger(text);
    if (channel < 1 || channel > KVX_MAX_CHANNELS) {
        throw ControlError("channel must be 1..30: " + text);
    }
    return static_cast<int>(channel);
}

Special toSpecial(const std::string &text) {
    static const std::map<std::string, Special> kNames{{"open", Special::OpenThermocouple},
                                                       {"overload", Special::PositiveOverload},
                                                       {"-overload", Special::NegativeOverload},
                                                       {"none", Special::None}};
    const auto found = kNames.find(text);
    if (found == kNames.end()) {
        throw ControlError("special must be open, overload, -overload or none: " + text);
    }
    return found->second;
}

std::optional<double> toValue(const std::string &text) {
    return text == "none" ? std::nullopt : std::optional<double>(toFloat(text));
}

std::string joined(const Args &words) {
    std::string text = words.at(0);
    for (std::size_t i = 1; i < words.size(); ++i) {
        text += " " + words[i];
    }
    return text;
}

std::string pushScans(Instrument &device, const Args &args) {
    const int count = toCount(args.at(0));
    if (args.size() == 3) {
        const int value = toCount(args[2]);
        const int size = args[1] == "channels" ? kScanHeaderSize + 4 * value : args[1] == "size" ? value : -1;
        if (size < 0 || !device.queue.setRecordSize(size)) {
            throw ControlError("record size refused (28..148 in steps of 4, one size while scans are queued)");
        }
    }
    device.pushScans(count, SteadyClock::now());
    return "ok";
}

std::string describeState(const Instrument &device) {
    std::ostringstream out;
    const auto now = SteadyClock::now();
    out << "ok scanning=" << device.scanning() << " enable-mode=" << device.enableMode
        << " trigger=" << device.triggerValue << " monitor=" << device.monitorChannel << " spy=" << device.spyEnabled
        << " passthru-type=" << device.passThruType << " passthru-waiting=" << device.passThruData.size()
        << " dio=" << device.dio << " dio-set=" << device.dioSetFirst << "," << device.dioSetSecond
        << " totalizer=" << device.totalizer << " queued=" << device.queue.size()
        << " record-size=" << device.queue.recordSize() << " clear-value=" << device.clearValue
        << " selftests=" << device.selftestsBegun << " resets=" << device.resets << " busy=" << device.busyAt(now)
        << " capacity=" << device.queue.capacity() << " fast=" << device.fastMode;
    return out.str();
}

std::string describeCounters(const Instrument &device) {
    const ScanCounters &counters = device.queue.counters();
    return "ok produced=" + std::to_string(counters.produced) + " fetched=" + std::to_string(counters.fetched) +
           " lost=" + std::to_string(counters.lost) + " cleared=" + std::to_string(counters.cleared) +
           " queued=" + std::to_string(device.queue.size());
}

std::string configHex(const InstrumentConfig &config) {
    Bytes raw(sizeof config);
    std::memcpy(raw.data(), &config, sizeof config);
    return "ok " + hex(raw);
}

std::string loggedRequest(const SimInstrument &instrument, const Args &args) {
    const std::int64_t index = toInteger(args.at(0));
    if (index < 0 || static_cast<std::size_t>(index) >= instrument.log.size()) {
        throw ControlError("no request " + args[0]);
    }
    const LoggedRequest &request = instrument.log[static_cast<std::size_t>(index)];
    return "ok " + std::to_string(request.command) + " " + hex(request.bytes);
}

struct Command {
    std::size_t arguments; // at least, after the BCN
    bool fault;
    bool inspection; // needs one instrument, not "*"
    std::function<std::string(Server &, SimInstrument &, const Args &)> apply;
};

std::string done(const std::function<void()> &change) {
    change();
    return "ok";
}

const std::map<std::string, Command> &commandTable() {
    static const std::map<std::string, Command> table{
        {"silent",
         {0, true, false,
          [](Server &, SimInstrument &s, const Args &) { return done([&] { s.faults.silent = true; }); }}},
        {"delay",
         {1, true, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.faults.delay = std::chrono::milliseconds(toCount(a[0])); });
          }}},
        {"bytewise",
         {0, true, false,
          [](Server &, SimInstrument &s, const Args &) { return done([&] { s.faults.bytewise = true; }); }}},
        {"foreign",
         {1, true, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.faults.foreignReplies = toCount(a[0]); });
          }}},
        {"error",
         {1, true, false,
          [](Server &, SimInstrument &s, const Args &a) {
              ErrorFault fault{toInt32(a[0]), std::nullopt, std::nullopt};
              if (a.size() > 1 && a[1] != "*") fault.command = toInt32(a[1]);
              if (a.size() > 2) fault.remaining = toCount(a[2]);
              if (fault.remaining == 0) throw ControlError("error count must be at least 1");
              return done([&] { s.faults.error = fault; });
          }}},
        {"close-after",
         {1, true, false,
          [](Server &, SimInstrument &s, const Args &a) {
              const int count = toCount(a[0]);
              if (count == 0) throw ControlError("close-after needs at least 1");
              return done([&] { s.faults.closeAfter = count; });
          }}},
        {"bad-length",
         {1, true, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.faults.badLength = static_cast<std::uint32_t>(toInteger(a[0])); });
          }}},
        {"payload",
         {1, true, false,
          [](Server &, SimInstrument &s, const Args &a) { return done([&] { s.faults.payload = fromHex(a[0]); }); }}},
        {"push-before",
         {2, true, false,
          [](Server &, SimInstrument &s, const Args &a) {
              const ScansBefore scans{toInt32(a[0]), toCount(a[1])};
              if (scans.count == 0) throw ControlError("push-before needs at least 1 scan");
              return done([&] { s.faults.scansBefore = scans; });
          }}},
        {"pause",
         {0, true, false,
          [](Server &, SimInstrument &s, const Args &) { return done([&] { s.faults.paused = true; }); }}},
        {"resume",
         {0, true, false,
          [](Server &, SimInstrument &s, const Args &) { return done([&] { s.faults.paused = false; }); }}},
        {"drop",
         {0, false, false,
          [](Server &server, SimInstrument &s, const Args &) { return done([&] { server.dropConnections(s); }); }}},
        {"refuse",
         {0, true, false,
          [](Server &server, SimInstrument &s, const Args &) { return done([&] { server.refuse(s); }); }}},
        {"accept",
         {0, true, false,
          [](Server &server, SimInstrument &s, const Args &) {
              std::string error;
              return server.reopen(s, error) ? "ok" : "error " + error;
          }}},
        {"clear",
         {0, true, false,
          [](Server &server, SimInstrument &s, const Args &) {
              s.faults = Faults{};
              std::string error;
              return server.reopen(s, error) ? "ok" : "error " + error;
          }}},
        {"model",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) { return done([&] { s.device.modelText = joined(a); }); }}},
        {"report-bcn",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.reportedBcn = toInt32(a[0]); });
          }}},
        {"compat",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.compatibility = a[0] == "old" ? std::nullopt : std::optional(joined(a)); });
          }}},
        {"status",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.statusWord = static_cast<std::uint32_t>(toInteger(a[0])); });
          }}},
        {"selftest",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.selftestWord = static_cast<std::uint32_t>(toInteger(a[0])); });
          }}},
        {"ierror",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.internalError = toInt32(a[0]); });
          }}},
        {"dio",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) { return done([&] { s.device.dio = toInt32(a[0]); }); }}},
        {"totalizer",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.totalizer = static_cast<std::uint32_t>(toInteger(a[0])); });
          }}},
        {"spy-value",
         {2, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.spyValues[toInt32(a[0])] = toFloat(a[1]); });
          }}},
        {"attention",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.attention = toInteger(a[0]) != 0; });
          }}},
        {"value",
         {2, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.overrides[toChannel(a[0])].value = toValue(a[1]); });
          }}},
        {"special",
         {2, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.overrides[toChannel(a[0])].special = toSpecial(a[1]); });
          }}},
        {"seed",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.seed = static_cast<std::uint32_t>(toInteger(a[0])); });
          }}},
        {"capacity",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              const int capacity = toCount(a[0]);
              if (capacity == 0) throw ControlError("capacity needs at least 1");
              return done([&] { s.device.queue.setCapacity(static_cast<std::size_t>(capacity)); });
          }}},
        {"busy-time",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.busyTime = std::chrono::milliseconds(toCount(a[0])); });
          }}},
        {"busy-replies",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) {
              return done([&] { s.device.busyReplies = toSwitch(a[0]); });
          }}},
        {"fast",
         {1, false, false,
          [](Server &, SimInstrument &s, const Args &a) { return done([&] { s.device.fastMode = toSwitch(a[0]); }); }}},
        {"push", {1, false, false, [](Server &, SimInstrument &s, const Args &a) { return pushScans(s.device, a); }}},
        {"requests",
         {0, false, true,
          [](Server &, SimInstrument &s, const Args &) { return "ok " + std::to_string(s.log.size()); }}},
        {"request", {1, false, true, [](Server &, SimInstrument &s, const Args &a) { return loggedRequest(s, a); }}},
        {"forget",
         {0, false, false, [](Server &, SimInstrument &s, const Args &) { return done([&] { s.log.clear(); }); }}},
        {"connections",
         {0, false, true,
          [](Server &server, SimInstrument &s, const Args &) {
              return "ok main=" + std::to_string(server.openConnections(s, Link::Main)) +
                     " passthru=" + std::to_string(server.openConnections(s, Link::PassThru));
          }}},
        {"config",
         {0, false, true, [](Server &, SimInstrument &s, const Args &) { return configHex(s.device.config); }}},
        {"counters",
         {0, false, true, [](Server &, SimInstrument &s, const Args &) { return describeCounters(s.device); }}},
        {"state", {0, false, true, [](Server &, SimInstrument &s, const Args &) { return describeState(s.device); }}},
    };
    return table;
}

} // namespace

ControlChannel::ControlChannel(std::vector<SimInstrument> &instruments, Server &server)
        : instruments_(instruments), server_(server) {}

std::string ControlChannel::execute(const std::string &line) { return run(line, false); }

std::string ControlChannel::executeFault(const std::string &line) { return run(line, true); }

std::string ControlChannel::run(const std::string &line, bool faultsOnly) {
    const auto &commands = commandTable();
    std::istringstream words(line);
    std::string name;
    std::string target;
    words >> name;
    if (name == "quit" && !faultsOnly) {
        server_.quit();
        return "ok";
    }
    if (name == "serial") {
        Args rest;
        for (std::string word; words >> word;) {
            rest.push_back(word);
        }
        return calibration_ ? calibration_->execute(rest) : "error no calibration port (start with --serial)";
    }
    const auto command = commands.find(name);
    if (command == commands.end() || (faultsOnly && !command->second.fault)) {
        return "error unknown command: " + name;
    }
    Args args;
    words >> target;
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    if (args.size() < command->second.arguments) {
        return "error too few arguments for " + name;
    }
    std::vector<SimInstrument *> chosen;
    for (SimInstrument &instrument : instruments_) {
        if (target == "*" ? !command->second.inspection : target == std::to_string(instrument.bcn)) {
            chosen.push_back(&instrument);
        }
    }
    if (chosen.empty()) {
        return "error no instrument " + target;
    }
    try {
        std::string reply = "ok";
        for (SimInstrument *instrument : chosen) {
            reply = command->second.apply(server_, *instrument, args);
        }
        return reply;
    } catch (const std::exception &problem) {
        return std::string("error ") + problem.what();
    }
}

} // namespace korvelsim
