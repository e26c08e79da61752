#pragma once
// The core's colours, fonts and twips in Qt terms. Colours are 0x00BBGGRR or
// a system colour (0x80000000 + index) taken from the widget's palette, so
// that the style's own button face and texts are used.

#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtGui/QPalette>
#include <QtGui/QPixmap>
#include <QtCore/QRect>

#include <cstdint>
#include <string>

#include "platform/ui/color.h"
#include "platform/ui/font.h"
#include "platform/ui/picture.h"

class QWidget;

namespace plat::ui {
class ImageList;
}

namespace plat::qt {

QColor ToQColor(plat::ui::Color color, const QPalette& palette);
// The font on top of `base` (an empty name keeps the base's face).
QFont ToQFont(const plat::ui::Font& font, const QFont& base);
// Gives the widget the back and fore colours; the defaults (button face,
// button text) leave the style's own.
void ApplyColors(QWidget& widget, plat::ui::Color back, plat::ui::Color fore, bool fillBackground);

// A picture resource decoded (null for none); decoded once per resource.
QPixmap ToQPixmap(const plat::ui::Picture& picture);
// The picture of `key` in an image list (null when the list or key is missing).
QPixmap ImageOf(const plat::ui::ImageList* list, const std::string& key);

// The core's key code of a Qt key (0 for keys it has no code for) and shift bits.
int32_t VbKeyCode(int qtKey);
int32_t VbShift(Qt::KeyboardModifiers modifiers);

// Twips per pixel: the design units, which follow the default font (15 for
// the classic 8-point system font at 96 dots per inch; smaller for a larger font).
int32_t TwipsPerPixelX();
int32_t TwipsPerPixelY();
int ToPixelsX(int32_t twips);
int ToPixelsY(int32_t twips);
// A place in twips in pixels. Its edges are rounded, not its size, so that
// controls that meet in twips meet in pixels and one that ends at its
// container's edge does not pass it.
QRect ToPixelRect(int32_t left, int32_t top, int32_t width, int32_t height);

}  // namespace plat::qt
