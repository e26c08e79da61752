// The help pages as the build leaves them beside the plug-in library: each of
// the four is there, is markup the help view can take (well formed, nothing
// that runs or loads from elsewhere) and covers the guide's buttons and the
// test's readings.

#include <expat.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Page {
    std::string error;                 // "" when well formed
    std::vector<std::string> problems; // scripts, handlers, outside references
    std::string title;
    std::string text;                  // all character data, blanks folded
    std::vector<std::string> firstCells;  // the first cell of every table row
};

struct ParseState {
    Page* page;
    std::vector<std::string> open;
    bool rowStarted = false;
    bool inFirstCell = false;
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attrs) {
    auto* s = static_cast<ParseState*>(data);
    const std::string element = name;
    if (element == "script" || element == "iframe" || element == "object" || element == "embed")
        s->page->problems.push_back("<" + element + ">");
    for (int i = 0; attrs[i]; i += 2) {
        const std::string attr = attrs[i], value = attrs[i + 1];
        if (attr.starts_with("on")) s->page->problems.push_back(element + " " + attr);
        if ((attr == "href" || attr == "src") && (value.find(':') != std::string::npos))
            s->page->problems.push_back(element + " " + attr + "=" + value);
    }
    if (element == "tr") s->rowStarted = true;
    if ((element == "td" || element == "th") && s->rowStarted) {
        s->page->firstCells.emplace_back();
        s->inFirstCell = true;
        s->rowStarted = false;
    }
    s->open.push_back(element);
}

void OnEnd(void* data, const XML_Char* name) {
    auto* s = static_cast<ParseState*>(data);
    if (std::string(name) == "td" || std::string(name) == "th") s->inFirstCell = false;
    s->open.pop_back();
}

void OnText(void* data, const XML_Char* text, int len) {
    auto* s = static_cast<ParseState*>(data);
    std::string chunk(text, static_cast<std::size_t>(len));
    for (char& ch : chunk)
        if (ch == '\n' || ch == '\t') ch = ' ';
    if (!s->open.empty() && s->open.back() == "title") s->page->title += chunk;
    if (s->inFirstCell) s->page->firstCells.back() += chunk;
    s->page->text += chunk;
}

std::string HelpFolder() {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    return std::string(bin ? bin : ".") + "/Help/English/";
}

Page Load(const std::string& file) {
    Page page;
    std::ifstream in(HelpFolder() + file, std::ios::binary);
    if (!in) {
        page.error = "missing";
        return page;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string html = bytes.str();
    ParseState state;
    state.page = &page;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser, OnText);
    if (XML_Parse(parser, html.data(), static_cast<int>(html.size()), XML_TRUE) == XML_STATUS_ERROR)
        page.error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                     std::to_string(XML_GetCurrentLineNumber(parser));
    XML_ParserFree(parser);
    std::string folded;
    for (char ch : page.text)
        if (ch != ' ' || (!folded.empty() && folded.back() != ' ')) folded += ch;
    page.text = folded;
    return page;
}

const char* const kPages[] = {"SpO2SimulationHtmlHelp.html", "LEDHtmlHelp.html", "PhotoDiodeHtmlHelp.html",
                              "ResistanceHtmlHelp.html"};

TEST(HelpPages, EachIsBesideTheLibraryAndPlainMarkup) {
    for (const char* file : kPages) {
        SCOPED_TRACE(file);
        const Page page = Load(file);
        EXPECT_EQ(page.error, "");
        EXPECT_EQ(page.problems, std::vector<std::string>{});
        EXPECT_FALSE(page.title.empty());
    }
}

TEST(HelpPages, EachExplainsEveryButtonOfTheGuide) {
    for (const char* file : kPages) {
        SCOPED_TRACE(file);
        const Page page = Load(file);
        for (const char* button : {"Start", "Stop", "Abort", "Next", "Previous", "N/A", "Skip"})
            EXPECT_NE(std::find(page.firstCells.begin(), page.firstCells.end(), button), page.firstCells.end())
                << button;
    }
}

TEST(HelpPages, EachNamesItsReadingsAsTheGridShowsThem) {
    const std::vector<std::pair<const char*, std::vector<std::string>>> readings = {
        {"SpO2SimulationHtmlHelp.html", {"SpO2", "BPM", "Recorded value", "High limit", "Low limit"}},
        {"LEDHtmlHelp.html", {"LEDs - R", "LEDs - IR", "LEDs - PHTO", "Volts", "no data"}},
        {"PhotoDiodeHtmlHelp.html", {"Photodiode - R", "Photodiode - IR", "no data"}},
        {"ResistanceHtmlHelp.html", {"Pin 1 to Pin 2", "KOhms", "No resitances found", "no data"}},
    };
    for (const auto& [file, names] : readings) {
        SCOPED_TRACE(file);
        const Page page = Load(file);
        for (const std::string& name : names) EXPECT_NE(page.text.find(name), std::string::npos) << name;
    }
}

}  // namespace
