#include "platform/qt/qt_convert.h"

#include <QtCore/QHash>
#include <QtGui/QGuiApplication>
#include <QtGui/QFontMetrics>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <cmath>

#include "platform/ui/image_list.h"
#include "platform/ui/keys.h"

namespace plat::qt {

namespace ui = plat::ui;

QColor ToQColor(ui::Color color, const QPalette& palette) {
    if (!ui::IsSystemColor(color)) return QColor(ui::RedOf(color), ui::GreenOf(color), ui::BlueOf(color));
    switch (ui::SystemColorIndex(color)) {
        case 0x05: return palette.color(QPalette::Active, QPalette::Base);
        case 0x08: return palette.color(QPalette::Active, QPalette::Text);
        case 0x0D: return palette.color(QPalette::Active, QPalette::Highlight);
        case 0x0E: return palette.color(QPalette::Active, QPalette::HighlightedText);
        case 0x0F: return palette.color(QPalette::Active, QPalette::Button);
        case 0x10: return palette.color(QPalette::Active, QPalette::Dark);
        case 0x11: return palette.color(QPalette::Disabled, QPalette::Text);
        case 0x12: return palette.color(QPalette::Active, QPalette::ButtonText);
        case 0x17: return palette.color(QPalette::Active, QPalette::ToolTipText);
        case 0x18: return palette.color(QPalette::Active, QPalette::ToolTipBase);
        default: {
            const ui::Color c = ui::ResolveColor(color);
            return QColor(ui::RedOf(c), ui::GreenOf(c), ui::BlueOf(c));
        }
    }
}

QFont ToQFont(const ui::Font& font, const QFont& base) {
    QFont f = base;
    if (!font.name.empty()) f.setFamilies({QString::fromStdString(font.name), base.family()});
    if (font.size > 0) f.setPointSizeF(font.size);
    f.setBold(font.bold);
    // A heavy face ("Arial Black") keeps its weight where the face itself is missing.
    if (font.name.size() > 6 && font.name.ends_with(" Black")) f.setWeight(QFont::Black);
    f.setItalic(font.italic);
    return f;
}

void ApplyColors(QWidget& widget, ui::Color back, ui::Color fore, bool fillBackground) {
    const bool ownBack = back != ui::kColorButtonFace;
    const bool ownFore = fore != ui::vbButtonText;
    if (!ownBack && !ownFore) {
        widget.setPalette(QPalette());  // inherits again
        widget.setAutoFillBackground(false);
        return;
    }
    QPalette palette = widget.parentWidget() ? widget.parentWidget()->palette() : QGuiApplication::palette();
    if (ownBack) {
        const QColor c = ToQColor(back, palette);
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(role, c);
    }
    if (ownFore) {
        const QColor c = ToQColor(fore, palette);
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            for (auto group : {QPalette::Active, QPalette::Inactive}) palette.setColor(group, role, c);
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(ownBack && fillBackground);
}

QPixmap ToQPixmap(const ui::Picture& picture) {
    if (picture.IsNone()) return {};
    static QHash<QString, QPixmap> decoded;
    const QString name = QString::fromStdString(picture.Name());
    auto it = decoded.find(name);
    if (it != decoded.end()) return *it;
    QPixmap pixmap;
    const std::string_view png = picture.Png();
    pixmap.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<uint>(png.size()), "PNG");
    decoded.insert(name, pixmap);
    return pixmap;
}

QPixmap ImageOf(const ui::ImageList* list, const std::string& key) {
    if (!list || key.empty() || !list->Exists(key)) return {};
    return ToQPixmap(list->Item(key));
}

int32_t VbKeyCode(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 48 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 65 + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return ui::vbKeyF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace: return ui::vbKeyBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return ui::vbKeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return ui::vbKeyReturn;
        case Qt::Key_Shift: return ui::vbKeyShift;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Escape: return ui::vbKeyEscape;
        case Qt::Key_Space: return ui::vbKeySpace;
        case Qt::Key_PageUp: return ui::vbKeyPageUp;
        case Qt::Key_PageDown: return ui::vbKeyPageDown;
        case Qt::Key_End: return ui::vbKeyEnd;
        case Qt::Key_Home: return ui::vbKeyHome;
        case Qt::Key_Left: return ui::vbKeyLeft;
        case Qt::Key_Up: return ui::vbKeyUp;
        case Qt::Key_Right: return ui::vbKeyRight;
        case Qt::Key_Down: return ui::vbKeyDown;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return ui::vbKeyDelete;
        default: return 0;
    }
}

int32_t VbShift(Qt::KeyboardModifiers modifiers) {
    int32_t shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ui::vbShiftMask;
    if (modifiers & Qt::ControlModifier) shift |= ui::vbCtrlMask;
    if (modifiers & Qt::AltModifier) shift |= ui::vbAltMask;
    return shift;
}

namespace {

// The layouts were drawn for the classic 8-point system font at 15 twips a
// pixel, whose dialog base units are 6 x 13 pixels. Twips follow the font the
// controls actually draw with (the default face at the default 8.25 points),
// so that a wider or taller font gets a larger window rather than cut texts.
// Whole twips per pixel, rounded down, so that the core's own sums in twips
// and the pixels here agree and a design never comes out smaller than the font.
constexpr double kDesignTwipsPerPixel = 15.0;
constexpr double kDesignCharPixels = 6.0;
constexpr double kDesignLinePixels = 13.0;

struct DesignUnits {
    QString fontKey;
    int32_t twipsPerPixel = 15;
};

const DesignUnits& Units() {
    // Worked out again only when the default font or the screen changes.
    thread_local DesignUnits units;
    const QFont font = ToQFont(ui::Font{}, QApplication::font());
    QString key = font.key();
    if (QScreen* screen = QGuiApplication::primaryScreen()) key += QString::number(screen->logicalDotsPerInchX());
    if (key == units.fontKey) return units;
    units.fontKey = key;
    // Whole pixels, as labels lay out their lines.
    const QFontMetrics metrics(font);
    // Dialog base units, reckoned as the classic system did: from the 52 letters.
    const double width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const double baseX = (width / 26.0 + 1.0) / 2.0;
    const double baseY = metrics.height();
    auto perPixel = [](double design, double actual) {
        if (actual <= 0) return static_cast<int32_t>(kDesignTwipsPerPixel);
        return std::max<int32_t>(1, static_cast<int32_t>(std::floor(kDesignTwipsPerPixel * design / actual + 1e-6)));
    };
    // One scale both ways: the design keeps its proportions, and a line that
    // wraps in the wider font finds the room it needs below.
    units.twipsPerPixel = std::min(perPixel(kDesignCharPixels, baseX), perPixel(kDesignLinePixels, baseY));
    return units;
}

}  // namespace

int32_t TwipsPerPixelX() { return Units().twipsPerPixel; }
int32_t TwipsPerPixelY() { return Units().twipsPerPixel; }
int ToPixelsX(int32_t twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixelX())); }
int ToPixelsY(int32_t twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixelY())); }

QRect ToPixelRect(int32_t left, int32_t top, int32_t width, int32_t height) {
    const int x = ToPixelsX(left);
    const int y = ToPixelsY(top);
    return {x, y, ToPixelsX(left + width) - x, ToPixelsY(top + height) - y};
}

}  // namespace plat::qt
