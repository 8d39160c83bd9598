#pragma once
// How the reactions reach the network: the program's sendRS232, handed in by
// whoever builds them, so that a test can catch what would have been sent.

#include "net/message.h"

#include <functional>

namespace qv::reactions {

using SendRS232 = std::function<void(const net::RawMessage&)>;

}  // namespace qv::reactions
