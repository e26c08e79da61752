#include "platform/qt/qt_text.h"

#include <algorithm>

namespace plat::qt {

QString ToQt(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQt(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString CaptionToQt(std::string_view utf8) {
    QString text = ToQt(utf8);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int IndexOfByte(std::string_view utf8, int32_t byteOffset) {
    const size_t end = std::min<size_t>(byteOffset < 0 ? 0 : static_cast<size_t>(byteOffset), utf8.size());
    size_t start = end;
    // Back to the first byte of the character holding `end`.
    while (start > 0 && start < utf8.size() && (static_cast<unsigned char>(utf8[start]) & 0xC0) == 0x80) --start;
    return static_cast<int>(ToQt(utf8.substr(0, start)).size());
}

int32_t ByteOfIndex(const QString& text, int index) {
    index = std::clamp(index, 0, static_cast<int>(text.size()));
    return static_cast<int32_t>(text.left(index).toUtf8().size());
}

std::string_view CutAtCharacter(std::string_view utf8, size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8;
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    return utf8.substr(0, end);
}

}  // namespace plat::qt
