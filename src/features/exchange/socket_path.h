#pragma once
// Where the item exchange listens unless told otherwise.

#include <QString>

namespace qv::exchange {

inline constexpr char kSocketName[] = "quorvel-exchange";

// "quorvel-exchange" in the user's runtime directory ($XDG_RUNTIME_DIR, which
// only the user can enter). Empty when there is no runtime directory.
QString defaultSocketPath();

}  // namespace qv::exchange
