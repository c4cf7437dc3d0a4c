// The program's own pictures, drawn by the program at any size: the icon
// (icon resource 128, designed in res/program_icon.h) and the splash
// picture (bitmap resource 135: the icon, the product name with its version
// and "Picture Viewer").
#pragma once

#include <QPixmap>

class QPainter;
class QRectF;

namespace ProgramArt {

// Paints the icon into rect (a square fits it exactly).
void PaintIcon(QPainter& painter, const QRectF& rect);
// The icon as a size x size picture with a transparent background.
QPixmap Icon(int size);
// A bitmap resource drawn by the program; a null pixmap for an unknown id.
QPixmap LoadBitmap(int id);

}  // namespace ProgramArt
