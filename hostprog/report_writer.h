#pragma once
// Writes the tables that elements printed into a host::CReport to a file a
// technician can keep: HTML (a page of tables) for a name ending in ".html"
// or ".htm", plain text (columns padded with blanks) for any other name.
// Table texts: cells separated by "|", rows by ";"; a column format cell
// starting with ">" aligns right, "^" centres, anything else aligns left.

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

    // A printed table in cells; empty rows (a trailing ";") are dropped.
    static Table Split(const host::CReport::Table& table);

    static std::string Html(const host::CReport& report, const std::string& title);
    static std::string Text(const host::CReport& report, const std::string& title);
    // Writes the report (format by the name's extension) in place of the
    // file, never leaving half a file. False with `error` set on failure.
    static bool Write(const host::CReport& report, const std::string& title, const std::string& path,
                      std::string& error);
    // Whether the path names an HTML file.
    static bool IsHtmlPath(const std::string& path);
};

}  // namespace hostprog
