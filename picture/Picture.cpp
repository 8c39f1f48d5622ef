#include "picture/Picture.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include <fstream>
#include <string>

namespace zantrel {

std::uint64_t PipelineBytesFor(int width, int height) {
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    // Measured peaks (README): a noise picture at penalty 0 and minimum block 2, where the
    // quadtree has the most blocks, reaches 221-232 bytes a pixel at 2048 x 2048 and
    // 4096 x 4096 beside about 30 MB of code and libraries; every other setting needs less.
    return (std::uint64_t{32} << 20) + pixels * 240;
}

namespace {

// A block inside splits while it is larger than the minimum block size, so the smallest leaf
// inside has the largest power-of-two side not above it.
std::uint64_t SmallestLeafSide(int minBlockSize) {
    std::uint64_t side = 1;
    while (side * 2 <= static_cast<std::uint64_t>(std::max(minBlockSize, 1)))
        side *= 2;
    return side;
}

}  // namespace

std::uint64_t MostLeaves(int width, int height, int minBlockSize) {
    const std::uint64_t side = SmallestLeafSide(minBlockSize);
    const std::uint64_t inside =
        static_cast<std::uint64_t>(width / side) * static_cast<std::uint64_t>(height / side);
    return inside + (static_cast<std::uint64_t>(width) * height - inside * side * side);
}

std::uint64_t OptimisedBytesFor(int width, int height, int minBlockSize) {
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    // Every block from the smallest leaf's side (2 at least) up is searched.
    const std::uint64_t searched = std::max<std::uint64_t>(SmallestLeafSide(minBlockSize), 2);
    const std::uint64_t candidates = pixels * 4 / (3 * searched * searched);
    // Beside the rest, the leaves of noise at minimum block 1 peak at 157 bytes each where their
    // number is a power of two, at 213 just above one (the leaf list doubles its room while it
    // still holds the old) and at 273 in a rate search there, which keeps the nearest run while
    // it makes the next (README); 325 is the worst and a fifth, as peaks vary from run to run.
    return (std::uint64_t{40} << 20) + pixels * 70 + candidates * 220 +
           MostLeaves(width, height, minBlockSize) * 325;
}

namespace {

// The address space this process may still map (ulimit -v), or 0 when it has no limit.
std::uint64_t AddressSpaceLeft() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 0;
    std::ifstream status("/proc/self/status");
    std::uint64_t used = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0)
            used = std::stoull(line.substr(7)) * 1024;
    }
    const std::uint64_t total = limit.rlim_cur;
    return total > used ? total - used : 1;
}

std::uint64_t MemAvailable() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kilobytes = 0;
    std::string unit;
    while (meminfo >> key >> kilobytes >> unit) {
        if (key == "MemAvailable:")
            return kilobytes * 1024;
    }
    const long pages = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? static_cast<std::uint64_t>(pages) * pageSize : 0;
}

}  // namespace

std::uint64_t AvailableMemoryBytes() {
    // A run under an address-space limit runs out there, however much the machine has free.
    const std::uint64_t machine = MemAvailable();
    const std::uint64_t process = AddressSpaceLeft();
    if (machine == 0 || process == 0)
        return machine == 0 ? process : machine;
    return std::min(machine, process);
}

}  // namespace zantrel
