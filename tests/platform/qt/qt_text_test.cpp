// UTF-8 bytes in the core against UTF-16 in Qt: offsets and edits that fit a byte limit.
#include <gtest/gtest.h>

#include "platform/qt/qt_text.h"

namespace {

using namespace plat::qt;

const char kWord[] = "a\xC3\xA9z\xE2\x82\xAC";  // a, e-acute (2 bytes), z, euro sign (3 bytes)

TEST(QtText, ByteOffsetsAndIndexesConvertBothWays) {
    const QString text = QString::fromUtf8(kWord);
    EXPECT_EQ(IndexOfByte(kWord, 0), 0);
    EXPECT_EQ(IndexOfByte(kWord, 3), 2);
    EXPECT_EQ(IndexOfByte(kWord, 2), 1);   // inside e-acute: its start
    EXPECT_EQ(IndexOfByte(kWord, 99), 4);  // clamped
    EXPECT_EQ(IndexOfByte(kWord, -5), 0);
    EXPECT_EQ(ByteOfIndex(text, 2), 3);
    EXPECT_EQ(ByteOfIndex(text, 4), 7);
    EXPECT_EQ(ByteOfIndex(text, 40), 7);
}

TEST(QtText, CaptionsKeepTheirLineBreaksAsSingleOnes) {
    EXPECT_EQ(CaptionToQt("one\r\ntwo\rthree\nfour"), "one\ntwo\nthree\nfour");
}

TEST(QtText, ALabelShowsItsCaptionWithoutAccessKeyMarks) {
    EXPECT_EQ(LabelCaptionToQt("&Serial number"), "Serial number");
    EXPECT_EQ(LabelCaptionToQt("Save && close\r\n&2"), "Save & close\n2");
    EXPECT_EQ(LabelCaptionToQt("50 %&"), "50 %&");  // a trailing mark stays
}

TEST(QtText, CutsNeverSplitACharacter) {
    EXPECT_EQ(CutAtCharacter(kWord, 2), "a");
    EXPECT_EQ(CutAtCharacter(kWord, 3), "a\xC3\xA9");
    EXPECT_EQ(CutAtCharacter(kWord, 6), "a\xC3\xA9z");
    EXPECT_EQ(CutAtCharacter(kWord, 7), kWord);
}

TEST(QtText, AnEditOverTheLimitCutsWhatWasInsertedAndKeepsTheRest) {
    // Pasted "XYZ" between "ab" and "cd", five bytes at most.
    FittedEdit edit = FitEdit("abcd", "abXYZcd", 5);
    EXPECT_EQ(edit.text, "abXcd");
    EXPECT_EQ(edit.caret, 3);
    // A two-byte character with one byte of room is left out whole.
    edit = FitEdit("abcd", "ab\xC3\xA9" "cd", 5);
    EXPECT_EQ(edit.text, "abcd");
    EXPECT_EQ(edit.caret, 2);
    // Same leading bytes of two different characters (e-acute, e-grave) are not a common prefix.
    edit = FitEdit("\xC3\xA9", "\xC3\xA8\xC3\xA9", 2);
    EXPECT_EQ(edit.text, "\xC3\xA9");
    // Within the limit (or none) the edit stands.
    EXPECT_EQ(FitEdit("abcd", "abXcd", 5).text, "abXcd");
    EXPECT_EQ(FitEdit("abcd", "abXYZcd", 0).text, "abXYZcd");
    EXPECT_EQ(FitEdit("abcd", "ad", 2).text, "ad");
    EXPECT_EQ(FitEdit("abcd", "ad", 2).caret, 1);
}

TEST(QtText, RepeatedLettersFitAtTheEnd) {
    // "aa" -> "aaa": the insertion is found after the common part, within the text.
    FittedEdit edit = FitEdit("aa", "aaa", 2);
    EXPECT_EQ(edit.text, "aa");
    edit = FitEdit("aa", "aaa", 3);
    EXPECT_EQ(edit.text, "aaa");
}

TEST(QtText, AMultiLineBoxShowsEachCrLfAsOneLineBreak) {
    const char text[] = "ab\r\n\xC3\xA9\r\nz";  // a b CR LF e-acute CR LF z
    EXPECT_EQ(LinesToQt(text), QString::fromUtf8("ab\n\xC3\xA9\nz"));
    EXPECT_EQ(LinesFromQt(QString::fromUtf8("ab\n\xC3\xA9\nz")), text);
    EXPECT_EQ(LinesFromQt("a\rb\r\nc\n"), "a\r\nb\r\nc\r\n");
    // Byte offsets to indexes: a CR LF is one index; inside it counts as before it.
    EXPECT_EQ(IndexOfLinesByte(text, 2), 2);
    EXPECT_EQ(IndexOfLinesByte(text, 3), 2);
    EXPECT_EQ(IndexOfLinesByte(text, 4), 3);
    EXPECT_EQ(IndexOfLinesByte(text, 6), 4);
    EXPECT_EQ(IndexOfLinesByte(text, 9), 6);
    EXPECT_EQ(IndexOfLinesByte(text, 99), 6);
    // And back.
    EXPECT_EQ(LinesByteOfIndex(text, 2), 2);
    EXPECT_EQ(LinesByteOfIndex(text, 3), 4);
    EXPECT_EQ(LinesByteOfIndex(text, 4), 6);
    EXPECT_EQ(LinesByteOfIndex(text, 6), 9);
    // A lone LF held by the program is one byte, one index.
    EXPECT_EQ(IndexOfLinesByte("a\nb", 2), 2);
    EXPECT_EQ(LinesByteOfIndex("a\nb", 2), 2);
}

TEST(QtText, CutsAndEditsNeverSplitALineBreak) {
    EXPECT_EQ(CutAtCharacter("ab\r\ncd", 3), "ab");
    EXPECT_EQ(CutAtCharacter("ab\r\ncd", 4), "ab\r\n");
    // A pasted line and break, one byte short of room for the break: the break is left out whole.
    FittedEdit edit = FitEdit("x\r\ny", "x\r\nz\r\ny", 5);
    EXPECT_EQ(edit.text, "x\r\nzy");
    EXPECT_EQ(edit.caret, 4);
    edit = FitEdit("x\r\ny", "x\r\nz\r\ny", 7);
    EXPECT_EQ(edit.text, "x\r\nz\r\ny");
}

}  // namespace
