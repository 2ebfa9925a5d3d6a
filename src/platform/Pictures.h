#pragma once

#include <QIcon>
#include <QPixmap>

namespace fmb {

// The program's pictures, made at build time (res/MakePictures.cpp) and compiled in as Qt
// resources: the application icon (resource 128) and the banner bitmap (resource 134).
QIcon AppIcon();
// A bitmap resource by its number; a null pixmap for a number the program does not have.
QPixmap BitmapResource(int resourceId);

} // namespace fmb
