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

QString LabelCaptionToQt(std::string_view utf8) {
    const QString caption = CaptionToQt(utf8);
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        shown.append(caption[i]);
    }
    return shown;
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

namespace {

bool Continues(std::string_view text, size_t at) {
    return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

}  // namespace

FittedEdit FitEdit(std::string_view before, std::string_view after, int32_t maxBytes) {
    size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    while (prefix > 0 && Continues(after, prefix)) --prefix;
    size_t suffix = 0;
    const size_t most = std::min(before.size(), after.size()) - prefix;
    while (suffix < most && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) ++suffix;
    while (suffix > 0 && Continues(after, after.size() - suffix)) --suffix;
    std::string_view inserted = after.substr(prefix, after.size() - prefix - suffix);
    if (maxBytes > 0 && after.size() > static_cast<size_t>(maxBytes)) {
        const size_t kept = prefix + suffix;
        inserted = CutAtCharacter(inserted, kept < static_cast<size_t>(maxBytes) ? maxBytes - kept : 0);
    }
    FittedEdit edit;
    edit.text.reserve(prefix + inserted.size() + suffix);
    edit.text.append(after.substr(0, prefix)).append(inserted).append(after.substr(after.size() - suffix));
    edit.caret = static_cast<int32_t>(prefix + inserted.size());
    return edit;
}

}  // namespace plat::qt
