#include "decoder/kernel_choice.h"

#include <cstdlib>

#include "decoder/detail/vector_kernels.h"

namespace ravelon {

std::optional<std::string> KernelChoiceProblem()
{
    const char* chosen = std::getenv("RAVELON_KERNEL");
    if (!chosen) return std::nullopt;
    if (const std::optional<detail::KernelPath> path = detail::RequestedKernelPath()) {
        if (detail::Available(*path)) return std::nullopt;
        return "RAVELON_KERNEL=" + std::string(chosen) + ": this CPU lacks it; the fastest path it has is used";
    }
    std::string names;
    for (detail::KernelPath path : detail::kKernelPaths) {
        names += names.empty() ? "" : ", ";
        names += detail::NameOf(path);
    }
    return "RAVELON_KERNEL=" + std::string(chosen) + ": not a decoder path (" + names + "); the fastest is used";
}

}  // namespace ravelon
