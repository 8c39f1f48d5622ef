#pragma once
// The words on a Zantrel file: its size and bit rate, on the status bar once it was opened or
// saved, and in the bit-rate box for the file the result would be saved as.

#include <QString>
#include <cstdint>

namespace zantrel {

enum class ZtlFileEvent { Opened, Saved, Unsaved };

// "<Zantrel 文件 | 已保存 Zantrel 文件>：N 字节，X 比特/像素" for a file of `bytes` holding a
// width x height picture; only a saved file says so.
QString ZtlFileText(ZtlFileEvent event, std::uint64_t bytes, int width, int height);
// ZtlFileText on the shell's status bar.
void ShowZtlFileStatus(ZtlFileEvent event, std::uint64_t bytes, int width, int height);

}  // namespace zantrel
