#include "platform/ui/metrics.h"

#include <algorithm>

namespace plat::ui {

namespace {

thread_local TextMetrics* installed = nullptr;

// Calls `line` for each line of `text` (the line without its end).
template <class F>
void ForEachLine(std::string_view text, F line) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        line(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    line(text.substr(start));
}

std::size_t CodePoints(std::string_view s) {
    // Continuation bytes (10xxxxxx) do not start a character.
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::size_t LineCount(std::string_view text) {
    std::size_t n = 0;
    ForEachLine(text, [&](std::string_view) { ++n; });
    return n;
}

std::size_t WidestLineChars(std::string_view text) {
    std::size_t widest = 0;
    ForEachLine(text, [&](std::string_view line) { widest = std::max(widest, CodePoints(line)); });
    return widest;
}

int32_t HeadlessMetrics::TextWidth(std::string_view text, const Font&) const {
    return static_cast<int32_t>(WidestLineChars(text)) * kCharPixels * kTwipsPerPixel;
}

int32_t HeadlessMetrics::TextHeight(std::string_view text, const Font&) const {
    return static_cast<int32_t>(LineCount(text)) * kLinePixels * kTwipsPerPixel;
}

TextMetrics* SetTextMetrics(TextMetrics* metrics) {
    TextMetrics* previous = installed;
    installed = metrics;
    return previous;
}

const TextMetrics& Metrics() {
    static const HeadlessMetrics headless;
    if (installed) return *installed;
    return headless;
}

}  // namespace plat::ui
