#pragma once
// The host's report object that elements print into, and the stand-in's report.

#include <cstdint>
#include <string>
#include <vector>

#include "host/language_service.h"
#include "platform/values/variant.h"

namespace host {

class IReport {
public:
    virtual ~IReport() = default;
    // Print options: bit value 16 prints only failed measurements, 2 adds limit columns.
    static constexpr int32_t OnlyFailed = 16;
    static constexpr int32_t LimitColumns = 2;

    virtual int32_t PrintLevel() const = 0;  // the print mode
    virtual int32_t PrintOptions() const = 0;
    // Translates in the report's language (the language service's rules).
    virtual std::string Translate(const std::string& section, const std::string& text,
                                  const std::vector<plat::Variant>& args = {}) const = 0;
    // The usable width of the page in twips for a font size.
    virtual int32_t UsableWidth(int32_t fontSize) const = 0;
    // The three layout settings called before a table: font size, font style, grid lines.
    virtual void SetFontSize(int32_t size) = 0;
    virtual void SetFontStyle(int16_t style) = 0;
    virtual void SetGridLines(int32_t lines) = 0;
    // A table: column format, header and body rows (cells "|", rows ";") and three options.
    virtual void AddTable(const std::string& format, const std::string& header, const std::string& body,
                          int32_t option1, int32_t option2, int32_t option3) = 0;
};

// The host's report as the stand-in keeps it: every table added, with the
// layout settings in force; texts translated in the report's language.
class CReport : public plat::Object, public IReport {
public:
    struct Table {
        std::string format, header, body;
        int32_t fontSize;
        int16_t fontStyle;
        int32_t gridLines;
    };
    // A page of 8.5 inches with 1 inch margins, in twips.
    static constexpr int32_t PageWidth = 9360;

    explicit CReport(std::string language = "English", int32_t printLevel = 0, int32_t printOptions = 0)
        : printLevel_(printLevel), printOptions_(printOptions) {
        language_.SetLanguagesRoot(LanguageService().LanguagesRoot());
        language_.SetLanguage(language);
    }

    int32_t PrintLevel() const override { return printLevel_; }
    int32_t PrintOptions() const override { return printOptions_; }
    std::string Translate(const std::string& section, const std::string& text,
                          const std::vector<plat::Variant>& args = {}) const override {
        return language_.Translate(section, text, args);
    }
    int32_t UsableWidth(int32_t) const override { return usableWidth_; }
    // Another page width (a narrow page, a wide one).
    void SetUsableWidth(int32_t width) { usableWidth_ = width; }
    void SetFontSize(int32_t size) override { fontSize_ = size; }
    void SetFontStyle(int16_t style) override { fontStyle_ = style; }
    void SetGridLines(int32_t lines) override { gridLines_ = lines; }
    void AddTable(const std::string& format, const std::string& header, const std::string& body, int32_t, int32_t,
                  int32_t) override {
        tables_.push_back(Table{format, header, body, fontSize_, fontStyle_, gridLines_});
    }
    const std::vector<Table>& Tables() const { return tables_; }

private:
    int32_t printLevel_;
    int32_t printOptions_;
    int32_t usableWidth_ = PageWidth;
    mutable CLanguageService language_;
    int32_t fontSize_ = 10;
    int16_t fontStyle_ = 0;
    int32_t gridLines_ = 0;
    std::vector<Table> tables_;
};

}  // namespace host
