#include "decoder/detail/vector_kernels.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "decoder/detail/kernel_table.h"

#if defined(__x86_64__) || defined(__i386__)
#define RAVELON_X86 1
#endif

namespace ravelon::detail {

bool FitsVectorTables(const ShiftMap& map)
{
    const char16_t outside = map.decoded[kOutsideSlot];
    for (unsigned b = 0; b < kOutsideSlot; ++b) {
        if (map.decoded[b] > 0xFF) return false;
        const bool inRows = b >= kFirstRow && b < kFirstRow + 16u * kRows;
        if (!inRows && b != kPound && map.decoded[b] != outside) return false;
    }
    return true;
}

namespace {

KernelPath Fastest()
{
#ifdef RAVELON_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw")) return KernelPath::Avx512Vbmi;
    if (__builtin_cpu_supports("avx512bw")) return KernelPath::Avx512Bw;
    if (__builtin_cpu_supports("avx2")) return KernelPath::Avx2;
    if (__builtin_cpu_supports("ssse3")) return KernelPath::Ssse3;
#elif defined(__wasm__)
    if (&kSimd128Kernels != nullptr) return KernelPath::Simd128;
#elif defined(__aarch64__)
    return KernelPath::Neon;
#endif
    return KernelPath::Scalar;
}

KernelPath FromEnvironment()
{
    const std::optional<KernelPath> requested = RequestedKernelPath();
    return requested && Available(*requested) ? *requested : Fastest();
}

std::atomic<KernelPath>& Active()
{
    static std::atomic<KernelPath> active{FromEnvironment()};
    return active;
}

// The table of a path; none for the scalar path.
const KernelTable* TableOf(KernelPath path)
{
    switch (path) {
#ifdef RAVELON_X86
        case KernelPath::Ssse3:
            return &kSsse3Kernels;
        case KernelPath::Avx2:
            return &kAvx2Kernels;
        case KernelPath::Avx512Bw:
            return &kAvx512BwKernels;
        case KernelPath::Avx512Vbmi:
            return &kAvx512VbmiKernels;
#elif defined(__wasm__)
        case KernelPath::Simd128:
            return &kSimd128Kernels;
#elif defined(__aarch64__)
        case KernelPath::Neon:
            return &kNeonKernels;
#endif
        default:
            return nullptr;
    }
}

}  // namespace

const char* NameOf(KernelPath path)
{
    switch (path) {
        case KernelPath::Ssse3:
            return "ssse3";
        case KernelPath::Avx2:
            return "avx2";
        case KernelPath::Avx512Bw:
            return "avx512bw";
        case KernelPath::Avx512Vbmi:
            return "avx512vbmi";
        case KernelPath::Simd128:
            return "simd128";
        case KernelPath::Neon:
            return "neon";
        default:
            return "scalar";
    }
}

bool Available(KernelPath path)
{
#ifdef RAVELON_X86
    __builtin_cpu_init();
    switch (path) {
        case KernelPath::Ssse3:
            return __builtin_cpu_supports("ssse3");
        case KernelPath::Avx2:
            return __builtin_cpu_supports("avx2");
        case KernelPath::Avx512Bw:
            return __builtin_cpu_supports("avx512bw");
        case KernelPath::Avx512Vbmi:
            return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
        case KernelPath::Simd128:
        case KernelPath::Neon:
            return false;
        default:
            return true;
    }
#elif defined(__wasm__)
    return path == KernelPath::Scalar || (path == KernelPath::Simd128 && &kSimd128Kernels != nullptr);
#elif defined(__aarch64__)
    return path == KernelPath::Scalar || path == KernelPath::Neon;
#else
    return path == KernelPath::Scalar;
#endif
}

std::optional<KernelPath> RequestedKernelPath()
{
    const char* chosen = std::getenv("RAVELON_KERNEL");
    if (!chosen) return std::nullopt;
    for (KernelPath path : kKernelPaths)
        if (std::strcmp(chosen, NameOf(path)) == 0) return path;
    return std::nullopt;
}

KernelPath ActiveKernelPath()
{
    return Active().load(std::memory_order_relaxed);
}

void ForceKernelPath(KernelPath path)
{
    if (Available(path)) Active().store(path, std::memory_order_relaxed);
}

std::size_t StripShiftBlocks(std::u16string_view body, int spacing, const ShiftMap& map, std::uint8_t* out, bool& fails)
{
    const KernelTable* table = TableOf(ActiveKernelPath());
    if (!table || !map.fitsVectorTables || spacing < 1 || spacing > 3) return 0;
    const auto& blocks = map.canFail ? table->checkedBlocks : table->blocks;
    return blocks[static_cast<std::size_t>(spacing - 1)](body.data(), body.size(), map, out, fails);
}

bool HasTextWalk()
{
    const KernelTable* table = TableOf(ActiveKernelPath());
    return table && table->walk;
}

Walked WalkTextBlocks(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out, std::size_t room)
{
    return TableOf(ActiveKernelPath())->walk(bytes, n, last, out, room);
}

}  // namespace ravelon::detail
