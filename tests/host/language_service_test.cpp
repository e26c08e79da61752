#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "host/language_service.h"
#include "host/report.h"
#include "host/translate_text.h"
#include "platform/values/abort_error.h"
#include "tests/support/temp_dir.h"

namespace {

using host::CLanguageService;

class LanguageServiceTest : public ::testing::Test {
protected:
    LanguageServiceTest() {
        service.SetLanguagesRoot(folder.Path());
        folder.Write("German/Pelmo2.lng",
                     "\xEF\xBB\xBF# Pelmo2 texts\r\n"
                     "20021=Eigenes Oximeter\r\n"
                     " 20019=Pin %%2 zu Pin %%1\n"
                     "30001=Zeile 1\\nZeile 2\\t\\\\\n"
                     "no equals sign here\n"
                     "21079= 1. Leerzeichen vorn\n"
                     "T1708=Kommentar\n"
                     "t1708=klein\n");
        folder.Write("German/Other.lng", "20021=Anderer Abschnitt\n");
    }
    test_support::TempDir folder;
    CLanguageService service;
};

TEST_F(LanguageServiceTest, EnglishDefaultWithoutTable) {
    service.SetLanguage("English");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::Custom oximeter"), "Custom oximeter");
    // A default that itself holds "::" keeps everything behind the first one.
    EXPECT_EQ(service.Translate("Pelmo2", "20050::a::b"), "a::b");
    EXPECT_EQ(service.Translate("Pelmo2", "20051::"), "");
}

TEST_F(LanguageServiceTest, TableHitBySectionAndLanguage) {
    service.SetLanguage("German");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::Custom oximeter"), "Eigenes Oximeter");
    EXPECT_EQ(service.Translate("Other", "20021::Custom oximeter"), "Anderer Abschnitt");
    // An id the table lacks falls back to the English default.
    EXPECT_EQ(service.Translate("Pelmo2", "20000::Pelmo Q5 SpO2 Simulator"), "Pelmo Q5 SpO2 Simulator");
    EXPECT_EQ(service.Translate("Pelmo2", "30001::x"), "Zeile 1\nZeile 2\t\\");
    EXPECT_EQ(service.Translate("Pelmo2", "21079::x"), " 1. Leerzeichen vorn");
}

TEST_F(LanguageServiceTest, SwitchingLanguageDropsTables) {
    service.SetLanguage("German");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::Custom oximeter"), "Eigenes Oximeter");
    service.SetLanguage("");
    EXPECT_EQ(service.Language(), "English");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::Custom oximeter"), "Custom oximeter");
}

TEST_F(LanguageServiceTest, ArgumentsReplacePlaceholdersOnce) {
    service.SetLanguage("English");
    EXPECT_EQ(service.Translate("Pelmo2", "20019::Pin %%1 to Pin %%2", {plat::Variant("3"), plat::Variant(int32_t{7})}),
              "Pin 3 to Pin 7");
    // An argument holding a placeholder is not substituted again; a missing argument stays visible.
    EXPECT_EQ(service.Translate("Pelmo2", "1::%%1 %%2 %%3", {plat::Variant("%%2"), plat::Variant("b")}), "%%2 b %%3");
    service.SetLanguage("German");
    EXPECT_EQ(service.Translate("Pelmo2", "20019::Pin %%1 to Pin %%2", {plat::Variant("3"), plat::Variant("7")}),
              "Pin 7 zu Pin 3");
}

TEST_F(LanguageServiceTest, BareWordsComeBackAsGiven) {
    service.SetLanguage("German");
    EXPECT_EQ(service.Translate("Pelmo2", "Masimo"), "Masimo");
    EXPECT_EQ(service.Translate("Pelmo2", "Ohmeda & Nova"), "Ohmeda & Nova");
    EXPECT_EQ(service.Translate("Pelmo2", "abc::def"), "abc::def");
    EXPECT_EQ(service.Translate("Pelmo2", "::def"), "::def");
    EXPECT_EQ(service.Translate("Pelmo2", ""), "");
    EXPECT_EQ(service.Translate("Pelmo2", "%%1 %", {plat::Variant(2.5)}), "2.5 %");
}

TEST_F(LanguageServiceTest, IdsWithLettersAreLanguageTexts) {
    service.SetLanguage("English");
    EXPECT_EQ(service.Translate("Pelmo2", "T1708::Comment"), "Comment");
    service.SetLanguage("German");
    EXPECT_EQ(service.Translate("Pelmo2", "T1708::Comment"), "Kommentar");
    // Ids match exactly, letter case included.
    EXPECT_EQ(service.Translate("Pelmo2", "t1708::Comment"), "klein");
    EXPECT_EQ(service.Translate("Pelmo2", "T1709::Remark %%1", {plat::Variant("2")}), "Remark 2");
    EXPECT_EQ(service.Translate("Pelmo2", "T1708::"), "Kommentar");
    // Not an id: a word without a digit, or other characters in it; the text stays whole.
    EXPECT_EQ(service.Translate("Pelmo2", "Note::Comment"), "Note::Comment");
    EXPECT_EQ(service.Translate("Pelmo2", "T-1708::Comment"), "T-1708::Comment");
    EXPECT_EQ(service.Translate("Pelmo2", "T 1708::Comment"), "T 1708::Comment");
    EXPECT_EQ(service.Translate("Pelmo2", "T\xC3\xA4" "1708::Comment"), "T\xC3\xA4" "1708::Comment");
}

TEST_F(LanguageServiceTest, MissingOrUnsafeTableGivesDefaults) {
    service.SetLanguage("Klingon");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::Custom oximeter"), "Custom oximeter");
    service.SetLanguage("../German");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::Custom oximeter"), "Custom oximeter");
    service.SetLanguage("German");
    EXPECT_EQ(service.Translate("../German/Pelmo2", "20021::Custom oximeter"), "Custom oximeter");
}

TEST_F(LanguageServiceTest, EditedTableIsReadAfterReload) {
    service.SetLanguage("German");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::x"), "Eigenes Oximeter");
    folder.Write("German/Pelmo2.lng", "20021=Neu\n20021=Neuer\n");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::x"), "Eigenes Oximeter");
    service.Reload();
    EXPECT_EQ(service.Translate("Pelmo2", "20021::x"), "Neuer");
}

class Label : public host::ICaptioned {
public:
    explicit Label(std::string text) : text_(std::move(text)) {}
    std::string Caption() const override { return text_; }
    void SetCaption(const std::string& caption) override { text_ = caption; }
private:
    std::string text_;
};

TEST_F(LanguageServiceTest, TranslateControlsReplacesCaptions) {
    service.SetLanguage("German");
    Label a("20021::Custom oximeter"), b("%"), c("21012::Sending...");
    service.TranslateControls("Pelmo2", {&a, nullptr, &b, &c});
    EXPECT_EQ(a.Caption(), "Eigenes Oximeter");
    EXPECT_EQ(b.Caption(), "%");
    EXPECT_EQ(c.Caption(), "Sending...");
}

// A report that answers in its own words, or fails with the error given.
class ScriptedReport : public host::IReport {
public:
    std::function<std::string(const std::string&)> answer;
    int32_t PrintLevel() const override { return 0; }
    int32_t PrintOptions() const override { return 0; }
    std::string Translate(const std::string&, const std::string& text,
                          const std::vector<plat::Variant>&) const override {
        return answer(text);
    }
    int32_t UsableWidth(int32_t) const override { return 0; }
    void SetFontSize(int32_t) override {}
    void SetFontStyle(int16_t) override {}
    void SetGridLines(int32_t) override {}
    void AddTable(const std::string&, const std::string&, const std::string&, int32_t, int32_t, int32_t) override {}
};

TEST(TranslateTextTest, AReportAnswersInsteadOfTheServiceAndItsFailureIsAnEmptyText) {
    EXPECT_EQ(host::TranslateText("Pelmo2", "99999::Pin %%1", {plat::Variant(3)}), "Pin 3");
    ScriptedReport report;
    report.answer = [](const std::string& text) { return "report: " + text; };
    EXPECT_EQ(host::TranslateText("Pelmo2", "20021::Custom oximeter", {}, &report), "report: 20021::Custom oximeter");
    report.answer = [](const std::string&) -> std::string { throw std::runtime_error("gone"); };
    EXPECT_EQ(host::TranslateText("Pelmo2", "20021::Custom oximeter", {}, &report), "");
    report.answer = [](const std::string&) -> std::string { throw plat::AbortError("stalled"); };
    EXPECT_THROW(host::TranslateText("Pelmo2", "20021::Custom oximeter", {}, &report), plat::AbortError);
}

}  // namespace
