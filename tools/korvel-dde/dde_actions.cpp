#include "dde_actions.h"

#include "advise_rows.h"
#include "app/live_values_protocol.h"
#include "platform/termination_signals.h"

#include <algorithm>
#include <cstdio>

namespace korvel_dde {
namespace {

namespace protocol = korvel::live_protocol;
using korvel::LocalClient;

constexpr char kSystem[] = "System";
// The values of one update come together; a pause this long ends it.
constexpr int kUpdatePauseMs = 100;
constexpr int kInterruptCheckMs = 250;

int lost() {
    std::fprintf(stderr, "korvel-dde: the logger went away\n");
    return kNoLogger;
}

// Why the logger did not do it; 1 for a refusal, 2 for anything else.
int failed(const Answer &answer, const std::string &refusal) {
    switch (answer.kind) {
        case Answer::Kind::Refused: std::fprintf(stderr, "korvel-dde: %s\n", refusal.c_str()); return kRefused;
        case Answer::Kind::Error:
            std::fprintf(stderr, "korvel-dde: the logger answers: %s\n", answer.words.front().c_str());
            return kNoLogger;
        default: return lost();
    }
}

// Opens the conversation on the topic; its standard name, or nothing after
// saying why.
int connect(LiveLink &link, const std::string &topic, std::string &name) {
    const Answer answer = link.ask(std::string(protocol::kConnect) + ' ' + topic, protocol::kConnected);
    if (answer.kind != Answer::Kind::Expected)
        return failed(answer, "the logger refuses the topic " + topic + " (System, or BCN01 to BCN99)");
    name = answer.words.at(1);
    return kDone;
}

std::string itemRefused(const std::string &topic, const std::string &item) {
    if (topic == kSystem) return "the logger refuses the item " + item + " of System (Topics, SysItems or Formats)";
    return "the logger refuses the item " + item + " of " + topic +
           " (ELDATETIME, ALARM1, ALARM2, DIO, TOTALIZER or c1 to c30)";
}

enum class Heard { Update, Other, End };

// Takes one line of an advise into the rows.
Heard take(const std::string &line, AdviseRows &rows) {
    const std::vector<std::string> words = wordsOf(line);
    if (words.front() == protocol::kDisconnected) return Heard::End;
    if (words.front() != protocol::kUpdate || words.size() < 4) return Heard::Other;
    rows.add(words[2], after(line, 3), AdviseRows::Clock::now());
    rows.printIfComplete();
    return Heard::Update;
}

// Prints the rows of the updates until interrupted or the logger ends the
// conversation. An interruption lets the update that has come in finish.
int follow(LiveLink &link, AdviseRows &rows) {
    std::string line;
    while (!korvel::terminationRequested()) {
        LocalClient::Read read = link.next(line, kUpdatePauseMs);
        if (read == LocalClient::Read::TimedOut) {
            rows.print();
            read = link.next(line, kInterruptCheckMs);
        }
        if (read == LocalClient::Read::TimedOut) continue;
        if (read == LocalClient::Read::Closed) {
            rows.print();
            return lost();
        }
        if (take(line, rows) == Heard::End) {
            rows.print();
            std::fprintf(stderr, "korvel-dde: the logger ended the conversation\n");
            return kDone;
        }
    }
    while (link.next(line, 0) == LocalClient::Read::Line && take(line, rows) != Heard::End) {}
    rows.print();
    return kDone;
}

} // namespace

int listTopics(LiveLink &link) {
    std::string topic;
    if (const int status = connect(link, kSystem, topic); status != kDone) return status;
    const Answer answer = link.ask(std::string(protocol::kRequest) + " System Topics", protocol::kData);
    if (answer.kind != Answer::Kind::Expected) return failed(answer, itemRefused(kSystem, "Topics"));
    // "System, BCN01, BCN02"
    for (std::size_t at = 0; at <= answer.data.size();) {
        const std::size_t end = std::min(answer.data.find(", ", at), answer.data.size());
        std::printf("%s\n", answer.data.substr(at, end - at).c_str());
        at = end + 2;
    }
    return kDone;
}

int requestItem(LiveLink &link, const DdeCommand &command) {
    std::string topic;
    if (const int status = connect(link, command.topic, topic); status != kDone) return status;
    const std::string &item = command.items.front();
    const Answer answer = link.ask(std::string(protocol::kRequest) + ' ' + topic + ' ' + item, protocol::kData);
    if (answer.kind != Answer::Kind::Expected) return failed(answer, itemRefused(topic, item));
    std::printf("%s\n", answer.data.c_str());
    return kDone;
}

int adviseItems(LiveLink &link, const DdeCommand &command) {
    korvel::catchTerminationSignals();
    std::string topic;
    if (const int status = connect(link, command.topic, topic); status != kDone) return status;
    std::vector<std::string> items;
    for (const std::string &item : command.items) {
        const Answer answer = link.ask(std::string(protocol::kAdvise) + ' ' + topic + ' ' + item, protocol::kAdvising);
        if (answer.kind != Answer::Kind::Expected) return failed(answer, itemRefused(topic, item));
        // c05 and c5 are one item.
        const std::string &name = answer.words.at(2);
        if (std::find(items.begin(), items.end(), name) == items.end()) items.push_back(name);
    }
    AdviseRows rows(items, command.csv, stdout);
    if (command.csv) rows.printHeader();
    std::fflush(stdout);
    const int status = follow(link, rows);
    if (status == kDone && korvel::terminationRequested())
        link.ask(std::string(protocol::kDisconnect) + ' ' + topic, protocol::kDisconnected);
    return status;
}

} // namespace korvel_dde
