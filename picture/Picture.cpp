#include "picture/Picture.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace zantrel {

std::uint64_t PipelineBytesFor(int width, int height) {
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    // Colour 3, gray 1, block picture, result, grid and gray grid 4, the two summed tables
    // 16, the cut-line picture 3; the block and candidate lists and the search's prefix sums
    // stay below 24 bytes a pixel at their largest.
    return pixels * (3 + 1 + 4 + 16 + 3 + 24);
}

std::uint64_t OptimisedBytesFor(int width, int height, int minBlockSize) {
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    std::uint64_t smallest = 2;  // the smallest side a candidate has
    while (static_cast<int>(smallest) < minBlockSize)
        smallest *= 2;
    const std::uint64_t candidates = pixels * 4 / (3 * smallest * smallest);
    return (std::uint64_t{40} << 20) + pixels * 70 + candidates * 220;
}

std::uint64_t AvailableMemoryBytes() {
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

}  // namespace zantrel
