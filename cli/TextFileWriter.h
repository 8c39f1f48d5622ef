#pragma once

#include <string>
#include <string_view>

// Writes `text` to `path` as the picture files are written: to a temporary name in the same
// folder, renamed over the target only when complete, so a failure leaves any old file as
// it was; a device or pipe (/dev/stdout) is written in place. Reports a failure through the
// shell and returns false.
bool SaveTextFile(const std::string& path, std::string_view text);
