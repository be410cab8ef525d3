#pragma once

// What the environment variable RAVELON_KERNEL asks of the decoder, checked:
// why the path it names is not taken (unknown, or not on this CPU), in which
// case the decoder takes the fastest path there is; nothing when it is taken
// or none is named.

#include <optional>
#include <string>

namespace ravelon {

std::optional<std::string> KernelChoiceProblem();

}  // namespace ravelon
