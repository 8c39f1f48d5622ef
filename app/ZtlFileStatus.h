#pragma once
// The status bar's word on a Zantrel file once it was opened or saved: its size and bit rate.

#include <cstdint>

namespace zantrel {

enum class ZtlFileEvent { Opened, Saved };

// "<Zantrel 文件 | 已保存 Zantrel 文件>：N 字节，X 比特/像素" on the shell's status bar, for a
// file of `bytes` holding a width x height picture.
void ShowZtlFileStatus(ZtlFileEvent event, std::uint64_t bytes, int width, int height);

}  // namespace zantrel
