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

std::uint64_t OptimisedBytesFor(int width, int height, int minBlockSize) {
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    std::uint64_t smallest = 2;  // the smallest side a candidate has
    while (static_cast<int>(smallest) < minBlockSize)
        smallest *= 2;
    const std::uint64_t candidates = pixels * 4 / (3 * smallest * smallest);
    // At minimum block 1 a noise picture at a small penalty keeps a leaf for nearly every
    // pixel: 257-286 bytes a pixel in all, measured at 1024 x 1024 and 2048 x 2048.
    const std::uint64_t pixelLeaves = minBlockSize <= 1 ? pixels * 160 : 0;
    return (std::uint64_t{40} << 20) + pixels * 70 + candidates * 220 + pixelLeaves;
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
