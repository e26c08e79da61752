#pragma once
// Writes a report a technician can hand on: the sequence's name, its file and
// the date, then each element under its own name with its status, the tables
// it printed into a host::CReport and its comment. HTML (a page) for a name
// ending in ".html" or ".htm", plain text (columns padded with blanks) for any
// other name.
// Table texts: cells separated by "|", rows by ";"; a column format cell
// starting with ">" aligns right, "^" centres, anything else aligns left. A
// cell may hold the report engine's marks: groups in braces with control
// words, "{\i\b Value}" (bold, italic; "\b0" ends bold, "\ul" underlines,
// "\plain" ends all; "\{", "\}", "\\" are the characters). HTML shows them,
// the text report keeps the text only. A column empty in every row is left out.

#include <cstdint>
#include <string>
#include <vector>

#include "host/report.h"

namespace hostprog {

class ReportWriter {
public:
    enum class Alignment { Left, Right, Centre };
    struct Table {
        std::vector<Alignment> alignments;
        std::vector<std::string> header;
        std::vector<std::vector<std::string>> rows;
    };
    // One element of the sequence.
    struct Section {
        int32_t depth = 0;  // 0 the sequence itself, 1 its tests, ...
        std::string name;
        std::string status;
        std::string comment;
        std::vector<host::CReport::Table> tables;
    };
    struct Document {
        std::string title;
        std::string sequenceFile;  // "" when the sequence is in no file
        std::string date;
        std::vector<Section> sections;
    };

    // A printed table in cells, marks kept; empty rows (a trailing ";") are dropped.
    static Table Split(const host::CReport::Table& table);
    // A cell's text without its marks.
    static std::string PlainText(const std::string& cell);

    static std::string Html(const Document& document);
    static std::string Text(const Document& document);
    // Writes the report (format by the name's extension) in place of the
    // file, never leaving half a file. False with `error` set on failure.
    static bool Write(const Document& document, const std::string& path, std::string& error);
    // Whether the path names an HTML file.
    static bool IsHtmlPath(const std::string& path);
};

}  // namespace hostprog
