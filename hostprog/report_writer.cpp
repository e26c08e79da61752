#include "hostprog/report_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "hostprog/failure_text.h"
#include "platform/com/fs.h"
#include "platform/values/text.h"

namespace hostprog {

namespace {

std::vector<std::string> SplitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

std::vector<std::string> Rows(const std::string& text) {
    std::vector<std::string> rows = SplitOn(text, ';');
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// A run of text in one style, as the marks of a cell give it.
struct Span {
    std::string text;
    bool bold = false, italic = false, underline = false;
};

bool IsWordLetter(char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<Span> ParseMarks(const std::string& cell) {
    Span style;
    std::vector<Span> saved;  // the style outside each open group
    std::vector<Span> spans;
    auto put = [&](char c) {
        if (spans.empty() || spans.back().bold != style.bold || spans.back().italic != style.italic ||
            spans.back().underline != style.underline) {
            spans.push_back(style);
            spans.back().text.clear();
        }
        spans.back().text += c;
    };
    const size_t size = cell.size();
    for (size_t i = 0; i < size; ++i) {
        const char c = cell[i];
        if (c == '{') {
            saved.push_back(style);
        } else if (c == '}') {
            if (saved.empty()) continue;  // a stray brace: nothing to close
            style = saved.back();
            saved.pop_back();
        } else if (c == '\\' && i + 1 < size && (cell[i + 1] == '\\' || cell[i + 1] == '{' || cell[i + 1] == '}')) {
            put(cell[++i]);
        } else if (c == '\\' && i + 1 < size && IsWordLetter(cell[i + 1])) {
            // A control word, an optional number ("\b0" ends bold) and one blank that ends it.
            size_t end = i + 1;
            while (end < size && IsWordLetter(cell[end])) ++end;
            const std::string word = cell.substr(i + 1, end - i - 1);
            size_t digits = end < size && cell[end] == '-' ? end + 1 : end;
            const size_t firstDigit = digits;
            while (digits < size && IsDigit(cell[digits])) ++digits;
            bool on = true;
            if (digits > firstDigit) {
                on = cell.find_first_not_of('0', firstDigit) < digits;
                end = digits;
            }
            if (end < size && cell[end] == ' ') ++end;
            if (word == "b") style.bold = on;
            else if (word == "i") style.italic = on;
            else if (word == "ul") style.underline = on;
            else if (word == "ulnone") style.underline = false;
            else if (word == "plain") style.bold = style.italic = style.underline = false;
            i = end - 1;  // other words (fonts, sizes) change nothing a page shows here
        } else {
            put(c);
        }
    }
    return spans;
}

std::string HtmlCell(const std::string& cell) {
    std::string html;
    for (const Span& span : ParseMarks(cell)) {
        std::string text = Escape(span.text);
        if (span.underline) text = "<u>" + text + "</u>";
        if (span.italic) text = "<i>" + text + "</i>";
        if (span.bold) text = "<b>" + text + "</b>";
        html += text;
    }
    return html;
}

// Width in characters as a reader sees them (UTF-8 continuation bytes do not count).
size_t Columns(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(),
                                             [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Pad(const std::string& text, size_t width, ReportWriter::Alignment alignment) {
    const size_t used = Columns(text);
    if (used >= width) return text;
    const size_t gap = width - used;
    switch (alignment) {
        case ReportWriter::Alignment::Right: return std::string(gap, ' ') + text;
        case ReportWriter::Alignment::Centre: return std::string(gap / 2, ' ') + text + std::string(gap - gap / 2, ' ');
        default: return text + std::string(gap, ' ');
    }
}

ReportWriter::Alignment AlignmentAt(const ReportWriter::Table& table, size_t column) {
    return column < table.alignments.size() ? table.alignments[column] : ReportWriter::Alignment::Left;
}

const char* HtmlAlign(ReportWriter::Alignment alignment) {
    switch (alignment) {
        case ReportWriter::Alignment::Right: return " style=\"text-align:right\"";
        case ReportWriter::Alignment::Centre: return " style=\"text-align:center\"";
        default: return "";
    }
}

// The table as shown: columns empty in every row (an indent column, a
// column this test does not fill) left out, short rows filled up.
ReportWriter::Table Shown(const host::CReport::Table& printed) {
    ReportWriter::Table table = ReportWriter::Split(printed);
    auto filled = [](const std::vector<std::string>& cells, size_t column) {
        return column < cells.size() && !plat::Trim(ReportWriter::PlainText(cells[column])).empty();
    };
    size_t columns = table.header.size();
    for (const auto& row : table.rows) columns = std::max(columns, row.size());
    for (size_t c = columns; c-- > 0;) {
        bool used = filled(table.header, c);
        for (const auto& row : table.rows) used = used || filled(row, c);
        if (used) continue;
        auto drop = [c](auto& cells) {
            if (c < cells.size()) cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(c));
        };
        drop(table.alignments);
        drop(table.header);
        for (auto& row : table.rows) drop(row);
    }
    if (table.header.empty() && table.rows.empty()) table.alignments.clear();
    // Every row has every column's cell, empty where it holds no value (a
    // measurement without a unit), so that each column keeps its borders.
    columns = table.header.size();
    for (const auto& row : table.rows) columns = std::max(columns, row.size());
    if (!table.header.empty()) table.header.resize(columns);
    for (auto& row : table.rows) row.resize(columns);
    return table;
}

std::string CommentText(const std::string& comment) { return comment.empty() ? "(none)" : comment; }

}  // namespace

ReportWriter::Table ReportWriter::Split(const host::CReport::Table& printed) {
    Table table;
    const std::vector<std::string> formats = Rows(printed.format);
    if (!formats.empty())
        for (const std::string& cell : SplitOn(formats.front(), '|'))
            table.alignments.push_back(cell.starts_with('>')   ? Alignment::Right
                                       : cell.starts_with('^') ? Alignment::Centre
                                                               : Alignment::Left);
    const std::vector<std::string> headers = Rows(printed.header);
    if (!headers.empty()) table.header = SplitOn(headers.front(), '|');
    for (const std::string& row : Rows(printed.body)) table.rows.push_back(SplitOn(row, '|'));
    return table;
}

std::string ReportWriter::PlainText(const std::string& cell) {
    std::string text;
    for (const Span& span : ParseMarks(cell)) text += span.text;
    return text;
}

std::string ReportWriter::Html(const Document& document) {
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + Escape(document.title) +
                       "</title>\n<style>table{border-collapse:collapse;margin:0 0 1em 0}"
                       "td,th{border:1px solid #888;padding:2px 6px}</style></head>\n<body>\n<h1>" +
                       Escape(document.title) + "</h1>\n";
    html += "<p>Sequence file: " + Escape(document.sequenceFile.empty() ? "(not saved)" : document.sequenceFile) +
            "<br>\nDate: " + Escape(document.date) + "</p>\n";
    for (const Section& section : document.sections) {
        const std::string heading = "h" + std::to_string(2 + std::clamp(section.depth, 0, 2));
        html += "<" + heading + ">" + Escape(section.name) + "</" + heading + ">\n";
        html += "<p>Status: " + Escape(section.status) + "</p>\n";
        for (const auto& printed : section.tables) {
            const Table table = Shown(printed);
            if (table.header.empty() && table.rows.empty()) continue;
            html += "<table>\n";
            if (!table.header.empty()) {
                html += "<tr>";
                for (size_t c = 0; c < table.header.size(); ++c)
                    html += std::string("<th") + HtmlAlign(AlignmentAt(table, c)) + ">" + HtmlCell(table.header[c]) +
                            "</th>";
                html += "</tr>\n";
            }
            for (const auto& row : table.rows) {
                html += "<tr>";
                for (size_t c = 0; c < row.size(); ++c)
                    html += std::string("<td") + HtmlAlign(AlignmentAt(table, c)) + ">" + HtmlCell(row[c]) + "</td>";
                html += "</tr>\n";
            }
            html += "</table>\n";
        }
        html += "<p>Comment: " + Escape(CommentText(section.comment)) + "</p>\n";
    }
    html += "</body></html>\n";
    return html;
}

std::string ReportWriter::Text(const Document& document) {
    auto underline = [](const std::string& text, char mark) {
        return text + "\n" + std::string(Columns(text), mark) + "\n";
    };
    std::string text = underline(document.title, '=');
    text += "Sequence file: " + (document.sequenceFile.empty() ? std::string("(not saved)") : document.sequenceFile) +
            "\nDate: " + document.date + "\n";
    for (const Section& section : document.sections) {
        text += "\n" + underline(section.name, section.depth == 0 ? '=' : '-');
        text += "Status: " + section.status + "\n";
        bool tables = false;
        for (const auto& printed : section.tables) {
            Table table = Shown(printed);
            if (table.header.empty() && table.rows.empty()) continue;
            for (auto& cell : table.header) cell = PlainText(cell);
            for (auto& row : table.rows)
                for (auto& cell : row) cell = PlainText(cell);
            std::vector<size_t> widths;
            auto measure = [&](const std::vector<std::string>& cells) {
                if (widths.size() < cells.size()) widths.resize(cells.size(), 0);
                for (size_t c = 0; c < cells.size(); ++c) widths[c] = std::max(widths[c], Columns(cells[c]));
            };
            measure(table.header);
            for (const auto& row : table.rows) measure(row);
            auto line = [&](const std::vector<std::string>& cells) {
                std::string out;
                for (size_t c = 0; c < cells.size(); ++c) {
                    if (c > 0) out += "  ";
                    out += Pad(cells[c], widths[c], AlignmentAt(table, c));
                }
                while (!out.empty() && out.back() == ' ') out.pop_back();
                return out + "\n";
            };
            text += "\n";
            if (!table.header.empty()) {
                text += line(table.header);
                size_t total = 0;
                for (size_t c = 0; c < widths.size(); ++c) total += widths[c] + (c > 0 ? 2 : 0);
                text += std::string(total, '-') + "\n";
            }
            for (const auto& row : table.rows) text += line(row);
            tables = true;
        }
        text += std::string(tables ? "\n" : "") + "Comment: " + CommentText(section.comment) + "\n";
    }
    return text;
}

bool ReportWriter::IsHtmlPath(const std::string& path) {
    const std::string name = plat::ToLower(plat::fs::FileName(path));
    return name.ends_with(".html") || name.ends_with(".htm");
}

bool ReportWriter::Write(const Document& document, const std::string& path, std::string& error) {
    const std::string bytes = IsHtmlPath(path) ? Html(document) : Text(document);
    errno = 0;
    if (plat::fs::WriteFileAtomic(path, bytes)) return true;
    error = errno ? FullStop(std::strerror(errno)) : "The file could not be written.";
    return false;
}

}  // namespace hostprog
