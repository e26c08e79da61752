#pragma once
// A caption on a window. The caption may hold several lines (CR LF, LF or CR
// end a line); a label shows each on its own line, and with WordWrap breaks
// long lines at its width. AutoSize makes the label as large as its text in its
// font (Metrics()); a transparent label (BackStyle 0) shows what lies behind it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace plat::ui {

enum class LabelAlignment { Left = 0, Right = 1, Centre = 2 };

class Label : public Control {
public:
    bool HasCaption() const override { return true; }

    // The caption's lines, without their line ends.
    std::vector<std::string> Lines() const;

    LabelAlignment Alignment() const { return alignment_; }
    void SetAlignment(LabelAlignment alignment);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    // 0 transparent, 1 opaque (the back colour fills it).
    int32_t BackStyle() const { return backStyle_; }
    void SetBackStyle(int32_t style);

protected:
    void CaptionOrFontChanged() override;

private:
    void FitToText();
    // The lines it shows: each caption line broken at blanks to fit its width.
    int32_t WrappedLineCount() const;
    LabelAlignment alignment_ = LabelAlignment::Left;
    bool wordWrap_ = false;
    bool autoSize_ = false;
    int32_t backStyle_ = 1;
};

}  // namespace plat::ui
