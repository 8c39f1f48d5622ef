#pragma once
// The standard codecs a sweep can put beside Zantrel (`--peers jpeg,jpeg2000,webp`), each over
// its own ladder of settings, on the same gray picture.

#include <string>
#include <string_view>
#include <vector>

#include "cli/SweepProgress.h"
#include "cli/SweepTable.h"
#include "picture/Picture.h"

namespace zantrel {

enum class PeerKind { Jpeg, Jpeg2000, Webp, Avif, Jxl };

// The codec column's name of each peer: "jpeg", "jpeg2000", "webp", "avif", "jxl".
std::string_view PeerName(PeerKind kind);

// Reads a comma-separated list of peer names; a repeated name counts once, in its first place.
// On an unknown name or an empty item returns false with the reason in `message`.
bool ParsePeerList(std::string_view list, std::vector<PeerKind>& peers, std::string& message);

// One row per setting of every peer, in the order of `peers`: JPEG and WebP over a quality
// ladder, AVIF over a quantizer ladder, JPEG XL over a distance ladder, JPEG 2000 at each of
// `zantrelRows`' file rates (as printed). A setting the library refuses (a picture beyond the
// format) gives a row that is not `coded`, without figures.
std::vector<SweepRow> MeasurePeers(const GrayPicture& gray, const std::vector<PeerKind>& peers,
                                   const std::vector<SweepRow>& zantrelRows, SweepProgress& status);

}  // namespace zantrel
