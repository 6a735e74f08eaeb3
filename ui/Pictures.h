#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QRect>

class QPainter;
class QWidget;

namespace revlane::ui {

// Every picture of the program is drawn here at run time, at any size, so that none has to
// be shipped as a file and each stays sharp on dense screens.

// The program's icon: a road running into the distance on a blue tile.
void PaintAppIcon(QPainter& painter, const QRectF& target);
// The window icon, in the sizes the desktop asks for.
QIcon AppIcon();
// Draws the program's icon with its top left corner at a pixel of the painter's surface.
void DrawAppIcon(QPainter& painter, const QPoint& at, int size = 32);

// The internal-error dialog's picture: a white cross on a red disc.
QPixmap ErrorPicture(int size = 32, qreal devicePixelRatio = 1.0);

// The mark beside a value that differs from another file's: a small orange wedge.
QPixmap DifferenceMark();

// The about box's banner, 600 x 76 pixels at normal resolution, times `scale`.
QPixmap AboutBanner(qreal scale = 1.0, qreal devicePixelRatio = 1.0);

// The dialogs are laid out in twips (1/1440 inch): 15 to a pixel at 96 dots per inch, more
// on screens set to a higher logical resolution.
int TwipsToPixels(int twips, qreal logicalDpi);
QRect TwipRect(const QWidget* widget, int left, int top, int width, int height);
// A plain filled rectangle on a dialog: a header band or one stroke of an etched separator.
QWidget* AddFill(QWidget* parent, const QColor& color, const QRect& geometry);
// How many pixels of a widget's screen make one pixel at 96 dots per inch.
qreal PixelScale(const QWidget* widget);

// Verdana 8.25 pt where the system has it, the nearest sans-serif otherwise.
QFont DialogFont(bool bold = false);

// The colour of text that warns: a value out of its range, a refusal, a name not found.
inline QColor WarningColour() { return QColor(0xc0, 0x30, 0x00); }

}  // namespace revlane::ui
