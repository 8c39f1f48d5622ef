#pragma once
// Checks that make up for what the toolkit's readers let pass: a JPEG or GIF cut short is handed
// back by them as a whole picture, and a PNG's damage reaches the PNG library. Each check reads
// only the file's own structure.

#include <QByteArray>
#include <QIODevice>
#include <cstdint>

namespace zantrel {

// True when `data` starts with the PNG signature.
bool IsPng(const QByteArray& data);

// Whether the first 18 bytes are a plausible TGA header (the format has no magic bytes: its
// colour-map type, image type, sizes and depth are checked), for naming the format the import
// does not read.
bool LooksLikeTga(const QByteArray& start);

// True when every chunk of a PNG stream lies within the data and has its CRC, up to its end
// chunk. The PNG library allocates what a chunk's length claims before it reads, so a claim
// past the end of the file is refused first.
bool PngChunksFit(const QByteArray& data);

// A gray or colour PNG stream whose transparent colour chunk is left out; empty when the
// stream has none (or is of another colour type), so the data can be read as they are.
QByteArray WithoutTransparentColour(const QByteArray& data);

// True when a JPEG stream reaches its end-of-image marker.
bool JpegReachesEnd(const QByteArray& data);

// True when the first frame of a GIF stream is complete.
bool GifFirstFrameComplete(const QByteArray& data);

}  // namespace zantrel
