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

namespace {

bool Continues(std::string_view text, size_t at) {
    return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// Whether `at` falls between the CR and the LF of a line break.
bool InsideLineBreak(std::string_view text, size_t at) {
    return at > 0 && at < text.size() && text[at - 1] == '\r' && text[at] == '\n';
}

// The byte offset at or before `at` where a character (or a CR LF) starts.
size_t CharacterStart(std::string_view text, size_t at) {
    while (at > 0 && Continues(text, at)) --at;
    return InsideLineBreak(text, at) ? at - 1 : at;
}

}  // namespace

std::string_view CutAtCharacter(std::string_view utf8, size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8;
    return utf8.substr(0, CharacterStart(utf8, maxBytes));
}

QString LinesToQt(std::string_view utf8) { return CaptionToQt(utf8); }

std::string LinesFromQt(const QString& text) {
    const std::string bytes = FromQt(text);
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            out += bytes[i];
            continue;
        }
        out += "\r\n";
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    return out;
}

int IndexOfLinesByte(std::string_view utf8, int32_t byteOffset) {
    const size_t end = CharacterStart(utf8, std::min<size_t>(byteOffset < 0 ? 0 : static_cast<size_t>(byteOffset), utf8.size()));
    return static_cast<int>(LinesToQt(utf8.substr(0, end)).size());
}

int32_t LinesByteOfIndex(std::string_view utf8, int index) {
    const QString shown = LinesToQt(utf8);
    const int32_t shownBytes = ByteOfIndex(shown, index);
    // Each shown byte is one byte of `utf8`, but a CR LF shows as one.
    size_t at = 0;
    for (int32_t i = 0; i < shownBytes && at < utf8.size(); ++i) at += InsideLineBreak(utf8, at + 1) ? 2 : 1;
    return static_cast<int32_t>(at);
}

FittedEdit FitEdit(std::string_view before, std::string_view after, int32_t maxBytes) {
    size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    prefix = CharacterStart(after, prefix);
    size_t suffix = 0;
    const size_t most = std::min(before.size(), after.size()) - prefix;
    while (suffix < most && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) ++suffix;
    while (suffix > 0 && (Continues(after, after.size() - suffix) || InsideLineBreak(after, after.size() - suffix)))
        --suffix;
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
