#pragma once
// The question before a file that claims a huge picture is read.

#include <QString>
#include <cstdint>

namespace zantrel {

class DialogHost;

// Asked before the file at `path`, which claims `width` x `height`, is read. A claim of more
// pixels than kDefaultMaxPixels is read only when the user agrees, told the memory and time it
// takes; where the memory model says the picture cannot fit in `availableBytes` (0: unknown),
// the user is told so instead and never asked, since reading it could only fail.
enum class PixelClaimAnswer { Read, Declined, CannotFit };
PixelClaimAnswer AskAboutPixelClaim(DialogHost& host, const QString& path, long long width,
                                    long long height, std::uint64_t availableBytes);

}  // namespace zantrel
