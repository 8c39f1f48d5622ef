#pragma once
// The toolbar's button images and the application icon, drawn in code so they stay sharp at
// 16 x 15 and on high-DPI screens (each icon carries pixmaps for 1x, 2x and 3x).

#include <QIcon>

namespace zantrel {

// The button image of a toolbar command; a null icon for any other command.
QIcon ToolIcon(int commandId);

// The window and About-box icon: a quadtree block picture crossed by a red cut line.
QIcon AppIcon();

}  // namespace zantrel
