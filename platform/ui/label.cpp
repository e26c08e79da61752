#include "platform/ui/label.h"

#include "platform/ui/metrics.h"

namespace plat::ui {

std::vector<std::string> Label::Lines() const {
    std::vector<std::string> lines(1);
    const std::string& text = Caption();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            lines.back().push_back(text[i]);
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.emplace_back();
    }
    return lines;
}

void Label::SetAlignment(LabelAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    NotifyChanged();
}

void Label::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    wordWrap_ = on;
    NotifyChanged();
}

void Label::SetAutoSize(bool on) {
    if (on == autoSize_) return;
    autoSize_ = on;
    if (on)
        FitToText();
    else
        NotifyChanged();
}

void Label::SetBackStyle(int32_t style) {
    if (style == backStyle_) return;
    backStyle_ = style;
    NotifyChanged();
}

void Label::CaptionOrFontChanged() {
    if (autoSize_) FitToText();
}

int32_t Label::WrappedLineCount() const {
    const TextMetrics& m = Metrics();
    int32_t count = 0;
    for (const std::string& line : Lines()) {
        ++count;
        std::string current;
        size_t start = 0;
        while (start <= line.size()) {
            size_t end = line.find(' ', start);
            if (end == std::string::npos) end = line.size();
            const std::string word = line.substr(start, end - start);
            const std::string joined = current.empty() ? word : current + " " + word;
            if (!current.empty() && m.TextWidth(joined, Font()) > Width()) {
                ++count;  // the word starts the next line
                current = word;
            } else {
                current = joined;
            }
            start = end + 1;
        }
    }
    return count;
}

void Label::FitToText() {
    const TextMetrics& m = Metrics();
    if (wordWrap_) {
        // A word-wrapped label keeps its width and grows downwards.
        Move(Left(), Top(), Width(), WrappedLineCount() * m.TextHeight("", Font()));
        return;
    }
    Move(Left(), Top(), m.TextWidth(Caption(), Font()), m.TextHeight(Caption(), Font()));
}

}  // namespace plat::ui
