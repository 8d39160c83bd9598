#pragma once
// The --send argument: seven hex bytes get their checksum computed, eight
// are sent as given.

#include "net/message.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv::shell {

struct SendArgument {
    std::optional<net::RawMessage> message;
    std::string error;  // why the text is not a message, when it is not
};

SendArgument parseSendArgument(std::string_view text);

}  // namespace qv::shell
