// The window's pictures, drawn here: the "Go!", information and exit buttons (each with a
// pressed picture) and the program's icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace qm {

QPixmap GoPicture(bool pressed);
QPixmap InfoPicture(bool pressed);
QPixmap ExitPicture(bool pressed);
QIcon AppIcon();

}  // namespace qm
