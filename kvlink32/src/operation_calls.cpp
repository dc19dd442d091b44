#include "operation_calls.h"

namespace kvlink {
namespace {

struct CommandBlock {
    const IntArguments *arguments;
    uint32_t *reply;
};

bool encodeInts(MessageWriter &out, void *argument) {
    const IntArguments &arguments = *static_cast<CommandBlock *>(argument)->arguments;
    for (int i = 0; i < arguments.count; ++i)
        if (!out.putInt(arguments.values[i])) return false;
    return true;
}

bool decodeWord(MessageReader &in, void *argument) { return in.getUInt(*static_cast<CommandBlock *>(argument)->reply); }

} // namespace

int32_t runCommand(Session &session, int32_t bcn, Link link, int32_t command, const IntArguments &arguments,
                   uint32_t *reply) {
    CommandBlock block{&arguments, reply};
    PayloadCodec codec;
    codec.encode = arguments.count > 0 ? encodeInts : nullptr;
    codec.decode = reply != nullptr ? decodeWord : nullptr;
    codec.argument = &block;
    return runExchange(session, bcn, link, command, codec);
}

int32_t commandCall(int32_t bcn, Link link, int32_t command, IntArguments arguments) {
    return instrumentCall(bcn, link,
                          [&](Session &session) { return runCommand(session, bcn, link, command, arguments); });
}

} // namespace kvlink
