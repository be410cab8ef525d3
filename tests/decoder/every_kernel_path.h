#pragma once

// Runs a test once on each kernel path this CPU has, then puts back the path
// in use.

#include "decoder/detail/vector_kernels.h"

namespace ravelon::testing {

template <typename Test>
void OnEveryKernelPath(Test test)
{
    const detail::KernelPath active = detail::ActiveKernelPath();
    for (const detail::KernelPath path : detail::kKernelPaths) {
        if (!detail::Available(path)) continue;
        detail::ForceKernelPath(path);
        test(path);
    }
    detail::ForceKernelPath(active);
}

}  // namespace ravelon::testing
