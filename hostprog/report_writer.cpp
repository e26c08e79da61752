#include "hostprog/report_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

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

std::string ReportWriter::Html(const host::CReport& report, const std::string& title) {
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + Escape(title) +
                       "</title>\n<style>table{border-collapse:collapse;margin:0 0 1em 0}"
                       "td,th{border:1px solid #888;padding:2px 6px}</style></head>\n<body>\n<h1>" +
                       Escape(title) + "</h1>\n";
    for (const auto& printed : report.Tables()) {
        const Table table = Split(printed);
        html += "<table>\n";
        if (!table.header.empty()) {
            html += "<tr>";
            for (size_t c = 0; c < table.header.size(); ++c)
                html += std::string("<th") + HtmlAlign(AlignmentAt(table, c)) + ">" + Escape(table.header[c]) + "</th>";
            html += "</tr>\n";
        }
        for (const auto& row : table.rows) {
            html += "<tr>";
            for (size_t c = 0; c < row.size(); ++c)
                html += std::string("<td") + HtmlAlign(AlignmentAt(table, c)) + ">" + Escape(row[c]) + "</td>";
            html += "</tr>\n";
        }
        html += "</table>\n";
    }
    html += "</body></html>\n";
    return html;
}

std::string ReportWriter::Text(const host::CReport& report, const std::string& title) {
    std::string text = title + "\n" + std::string(Columns(title), '=') + "\n";
    for (const auto& printed : report.Tables()) {
        const Table table = Split(printed);
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
    }
    return text;
}

bool ReportWriter::IsHtmlPath(const std::string& path) {
    const std::string name = plat::ToLower(plat::fs::FileName(path));
    return name.ends_with(".html") || name.ends_with(".htm");
}

bool ReportWriter::Write(const host::CReport& report, const std::string& title, const std::string& path,
                         std::string& error) {
    const std::string bytes = IsHtmlPath(path) ? Html(report, title) : Text(report, title);
    errno = 0;
    if (plat::fs::WriteFileAtomic(path, bytes)) return true;
    error = errno ? std::strerror(errno) : "the file could not be written";
    return false;
}

}  // namespace hostprog
