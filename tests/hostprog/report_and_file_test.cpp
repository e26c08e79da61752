// The host's files: the report written from the printed tables, and the
// saved sequence read back, with the faults a technician meets (a file that
// is missing, holds something else, or cannot be written).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/report.h"
#include "hostprog/report_writer.h"
#include "hostprog/sequence_file.h"
#include "platform/com/fs.h"
#include "tests/support/sandbox.h"

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using hostprog::ReportWriter;

ReportWriter::Document Printed() {
    host::CReport report;
    report.AddTable("<+560|<+1000|>+1000;", "|{\\i\\b Name}|{\\i\\b Value};", "|SpO2|97;|BPM|56;", 0, 0, 0);
    report.AddTable("<2000", "", "a <b> & \"c\"", 0, 0, 0);
    report.AddTable("<+560|<+1000|>+1000|<+560;", "|Setting|Value|Unit;", "|Type|Optical;|SpO2|97|%;", 0, 0, 0);
    ReportWriter::Document document{"Run", "/data/run.xml", "2026-01-02 03:04", {}};
    document.sections.push_back({0, "Sequence", "passed", "", {}});
    document.sections.push_back({1, "A & B", "failed", "checked", report.Tables()});
    return document;
}

TEST(ReportWriterTest, SplitsCellsAndRowsDroppingTheEmptyTrailingRow) {
    const auto table = ReportWriter::Split(Printed().sections[1].tables[0]);
    EXPECT_THAT(table.header, ElementsAre("", "{\\i\\b Name}", "{\\i\\b Value}"));
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_THAT(table.rows[1], ElementsAre("", "BPM", "56"));
    EXPECT_THAT(table.alignments, ElementsAre(ReportWriter::Alignment::Left, ReportWriter::Alignment::Left,
                                              ReportWriter::Alignment::Right));
}

TEST(ReportWriterTest, MarksAreShownOrDroppedNeverPrinted) {
    EXPECT_EQ(ReportWriter::PlainText("{\\i\\b Configuration}: {\\b0 x}\\{1\\}"), "Configuration: x{1}");
    EXPECT_EQ(ReportWriter::PlainText("} A\\B {\\fs20 c"), " A\\B c");  // stray braces, unknown words

    const std::string text = ReportWriter::Text(Printed());
    EXPECT_THAT(text, HasSubstr("\nName  Value\n"));  // the empty first column is left out
    EXPECT_THAT(text, HasSubstr("\nSpO2     97\n"));
    EXPECT_THAT(text, HasSubstr("a <b> & \"c\""));  // text stays as printed
    EXPECT_THAT(text, Not(HasSubstr("{")));

    const std::string html = ReportWriter::Html(Printed());
    EXPECT_THAT(html, HasSubstr("<tr><th><b><i>Name</i></b></th><th style=\"text-align:right\"><b><i>Value</i></b></th></tr>"));
    EXPECT_THAT(html, HasSubstr("<tr><td>SpO2</td><td style=\"text-align:right\">97</td></tr>"));
    EXPECT_THAT(html, Not(HasSubstr("{\\")));
}

TEST(ReportWriterTest, ARowWithoutAValueInAColumnHasAnEmptyCellThere) {
    const std::string html = ReportWriter::Html(Printed());
    EXPECT_THAT(html, HasSubstr("<tr><td>Type</td><td style=\"text-align:right\">Optical</td><td></td></tr>"));
    EXPECT_THAT(html, HasSubstr("<tr><td>SpO2</td><td style=\"text-align:right\">97</td><td>%</td></tr>"));
}

TEST(ReportWriterTest, EachSectionHasItsNameStatusTablesAndCommentAndTheReportItsFileAndDate) {
    const std::string html = ReportWriter::Html(Printed());
    EXPECT_THAT(html, HasSubstr("<title>Run</title>"));
    EXPECT_THAT(html, HasSubstr("Sequence file: /data/run.xml<br>\nDate: 2026-01-02 03:04"));
    EXPECT_THAT(html, HasSubstr("<h2>Sequence</h2>\n<p>Status: passed</p>\n<p>Comment: (none)</p>"));
    EXPECT_THAT(html, HasSubstr("<h3>A &amp; B</h3>\n<p>Status: failed</p>\n<table>"));
    EXPECT_THAT(html, HasSubstr("<td>a &lt;b&gt; &amp; &quot;c&quot;</td>"));
    EXPECT_THAT(html, HasSubstr("</table>\n<p>Comment: checked</p>"));

    const std::string text = ReportWriter::Text(Printed());
    EXPECT_THAT(text, HasSubstr("Sequence file: /data/run.xml\nDate: 2026-01-02 03:04\n"));
    EXPECT_THAT(text, HasSubstr("\nA & B\n-----\nStatus: failed\n"));
    EXPECT_THAT(text, HasSubstr("\nComment: checked\n"));
}

class HostFilesTest : public test_support::SandboxTest {};

TEST_F(HostFilesTest, TheReportFormatFollowsTheExtensionAndAFailedWriteKeepsTheOldFile) {
    std::string error;
    ASSERT_TRUE(ReportWriter::Write(Printed(), dir_.File("r.HTML"), error)) << error;
    ASSERT_TRUE(ReportWriter::Write(Printed(), dir_.File("r.txt"), error)) << error;
    std::string html, text;
    ASSERT_TRUE(plat::fs::ReadFile(dir_.File("r.HTML"), html));
    ASSERT_TRUE(plat::fs::ReadFile(dir_.File("r.txt"), text));
    EXPECT_THAT(html, HasSubstr("<table>"));
    EXPECT_THAT(text, Not(HasSubstr("<table>")));

    ::chmod(dir_.File("r.txt").c_str(), 0444);  // read-only: refused, kept whole
    EXPECT_FALSE(ReportWriter::Write(ReportWriter::Document(), dir_.File("r.txt"), error));
    EXPECT_THAT(error, EndsWith("."));
    std::string still;
    ASSERT_TRUE(plat::fs::ReadFile(dir_.File("r.txt"), still));
    EXPECT_EQ(still, text);
    EXPECT_FALSE(ReportWriter::Write(Printed(), dir_.File("no/such/folder/r.txt"), error));
}

// The operator's folder holds other programs' files: a report save touches
// its own file only, even another program's temporary file of the common
// shape, whether that program still has it open or not.
TEST_F(HostFilesTest, AReportSaveLeavesEveryOtherFileOfItsFolderAlone) {
    dir_.Write("reports/.tmp-a1B2c3", "another program's");
    const std::string open = dir_.Write("reports/.tmp-Z9y8x7", "being written by another program");
    const int other = ::open(open.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    std::string error;
    for (int save = 0; save < 2; ++save)  // a new report, then one replaced
        ASSERT_TRUE(ReportWriter::Write(Printed(), dir_.File("reports/r.txt"), error)) << error;
    ::close(other);
    EXPECT_THAT(plat::fs::ListFiles(dir_.File("reports"), "*"), ElementsAre(".tmp-a1B2c3", ".tmp-Z9y8x7", "r.txt"));
}

TEST_F(HostFilesTest, OpeningWhatIsNoSavedSequenceGivesAnErrorNotAnElement) {
    std::string error;
    EXPECT_EQ(hostprog::SequenceFile::Open(dir_.File("missing.xml"), error), nullptr);
    EXPECT_THAT(error, EndsWith("."));  // a sentence of the host's message

    error.clear();
    EXPECT_EQ(hostprog::SequenceFile::Open(dir_.Write("other.xml", "<Other/>"), error), nullptr);
    EXPECT_THAT(error, HasSubstr("no saved test sequence"));

    error.clear();
    EXPECT_EQ(hostprog::SequenceFile::Open(dir_.Write("broken.xml", "<TestElement"), error), nullptr);
    EXPECT_THAT(error, EndsWith("."));

    error.clear();  // a plug-in that is not loaded cannot make its elements
    EXPECT_EQ(hostprog::SequenceFile::Open(
                  dir_.Write("alien.xml", "<TestElement PlugInID=\"Nobody\" TestID=\"1\" ID=\"1\"/>"), error),
              nullptr);
    EXPECT_FALSE(error.empty());

    EXPECT_FALSE(hostprog::SequenceFile::Save(nullptr, dir_.File("empty.xml"), error));
    EXPECT_FALSE(plat::fs::FileExists(dir_.File("empty.xml")));
}

}  // namespace
