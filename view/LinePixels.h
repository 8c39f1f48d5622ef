#pragma once
// The pixels of a 1-pixel line from `from` towards `to`, the end point left out, so a line
// drawn to the start of the next one never draws a pixel twice. A line whose ends coincide
// has no pixels.

#include <QPoint>
#include <vector>

std::vector<QPoint> LinePixelsWithoutEnd(QPoint from, QPoint to);
