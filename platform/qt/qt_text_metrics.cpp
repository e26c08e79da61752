#include "platform/qt/qt_text_metrics.h"

#include <QtGui/QFontMetricsF>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>

#include <cmath>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

int32_t QtTextMetrics::TwipsPerPixelX() const { return qt::TwipsPerPixelX(); }

int32_t QtTextMetrics::TwipsPerPixelY() const { return qt::TwipsPerPixelY(); }

int32_t QtTextMetrics::VScrollBarWidth() const {
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

int32_t QtTextMetrics::TextWidth(std::string_view text, const plat::ui::Font& font) const {
    const QFontMetricsF metrics(ToQFont(font, QApplication::font()));
    qreal widest = 0;
    for (const QString& line : CaptionToQt(text).split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return static_cast<int32_t>(std::lround(std::ceil(widest) * TwipsPerPixelX()));
}

int32_t QtTextMetrics::TextHeight(std::string_view text, const plat::ui::Font& font) const {
    const QFontMetricsF metrics(ToQFont(font, QApplication::font()));
    const auto lines = CaptionToQt(text).split(QLatin1Char('\n')).size();
    return static_cast<int32_t>(std::lround(std::ceil(metrics.lineSpacing() * static_cast<qreal>(lines)) * TwipsPerPixelY()));
}

}  // namespace plat::qt
