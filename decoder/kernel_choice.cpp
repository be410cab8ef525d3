#include "decoder/kernel_choice.h"

#include <cstdlib>
#include <string_view>

#include "decoder/detail/vector_kernels.h"

namespace ravelon {

std::optional<std::string> KernelChoiceProblem()
{
    const char* chosen = std::getenv("RAVELON_KERNEL");
    if (!chosen) return std::nullopt;
    std::string names;
    for (detail::KernelPath path : detail::kKernelPaths) {
        if (chosen == std::string_view(detail::NameOf(path)))
            return detail::Available(path)
                       ? std::nullopt
                       : std::optional<std::string>(std::string("RAVELON_KERNEL=") + chosen +
                                                    ": this CPU lacks it; the fastest path it has is used");
        names += names.empty() ? "" : ", ";
        names += detail::NameOf(path);
    }
    return "RAVELON_KERNEL=" + std::string(chosen) + ": not a decoder path (" + names + "); the fastest is used";
}

}  // namespace ravelon
