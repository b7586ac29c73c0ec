#pragma once
#include <QPixmap>
#include <QRectF>

class QPainter;

// The program's pictures, drawn in code so that each one scales to any size and screen: the
// three splash pictures, the entry picture, the button pictures and the program's icon.
namespace tulmera::widgets {

enum class Picture {
    Leaf,      // a leaf with its veins: the leaf model
    Canopy,    // sun, sky and a row of plants over soil: the canopy model
    Spectrum,  // a reflectance curve over the optical range: what the program draws
    Entry,     // the splash's entry picture: an arrow through a door
    Icon,      // the program: a leaf with a reflectance curve
    Run,       // a button that runs: a family of curves and a start triangle
    Sheet,     // a button that exports to a spreadsheet: a small table
    Leave,     // a button that ends the program: an open door
};

// Draws `picture` into `bounds` (any aspect; the drawing keeps its own and is centred).
void DrawPicture(QPainter& painter, Picture picture, const QRectF& bounds);

// The picture as a square pixmap of `size` logical pixels at `devicePixelRatio`.
QPixmap PicturePixmap(Picture picture, int size, double devicePixelRatio = 1.0);

}  // namespace tulmera::widgets
