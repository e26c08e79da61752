#include "editor/make_checks.h"

#include <limits>
#include <memory>

#include "host/translate_text.h"
#include "platform/ui/grid.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/text_box.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "dialogs/form_captions.h"
#include "dialogs/f_save_make.h"

namespace editor {

namespace {

constexpr const char* kSection = dialogs::kLanguageSection;

int32_t badGridRow = 0;

}  // namespace

bool IsValueOK(std::string_view text) {
    const std::string trimmed = plat::Trim(text);
    if (trimmed.empty()) return false;
    int32_t value = 0;
    for (char c : trimmed) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        // Checked per digit, so a long run of digits never overflows.
        if (value > std::numeric_limits<int16_t>::max()) return false;
    }
    return true;
}

bool IsGridOK(const plat::ui::Grid& grid, int32_t col) {
    badGridRow = 0;
    for (int32_t row = 1; row < grid.Rows(); ++row) {
        if (grid.CellText(row, col).empty()) {
            badGridRow = row;
            return false;
        }
    }
    return true;
}

int32_t BadGridRow() { return badGridRow; }

bool CheckMakeEntries(const LightValueBoxes& boxes, plat::ui::Grid& grid, std::initializer_list<int32_t> cols) {
    static constexpr std::array<const char*, 4> kTooLarge{
        "21059::RDC value can not be greater than ", "21060::IRDC value can not be greater than ",
        "21061::IRAC value can not be greater than ", "21048::TLC value can not be greater than "};
    const int32_t refused = plat::ui::vbOKOnly | plat::ui::vbCritical;
    const std::string title = host::TranslateText(kSection, "21021::Save");
    const std::string notFilled = host::TranslateText(kSection, "21017::All oximeter parameters must be filled.");
    for (plat::ui::TextBox* box : boxes) {
        if (!IsValueOK(box->Text())) {
            plat::ui::MsgBox(notFilled, refused, title);
            plat::PassOver([&] { box->SetFocus(); });
            return false;
        }
    }
    for (int32_t col : cols) {
        if (!IsGridOK(grid, col)) {
            plat::ui::MsgBox(notFilled, refused, title);
            // The keys typed next go into the opened cell, not to the button pressed.
            plat::PassOver([&] {
                grid.SetFocus();
                grid.SetEditState(BadGridRow(), col, plat::ui::GridEditState::Start);
            });
            return false;
        }
    }
    // Every box holds a filled 16-bit value by now.
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (plat::RoundToLong(makes::ValText(boxes[i]->Text())) > kMaxLightValue) {
            plat::ui::MsgBox(host::TranslateText(kSection, kTooLarge[i]) + std::to_string(kMaxLightValue) + ".",
                             refused, title);
            plat::PassOver([&] { boxes[i]->SetFocus(); });
            return false;
        }
    }
    return true;
}

void LightValueKeyPress(int32_t& keyAscii) {
    constexpr int32_t kBackspace = 8, kEnter = 13, kEscape = 27;
    if (keyAscii == kBackspace || keyAscii == kEnter || keyAscii == kEscape) return;
    if (keyAscii >= '0' && keyAscii <= '9') return;
    keyAscii = 0;
}

std::string NumberText(std::string_view text) { return plat::NumberToText(makes::ValText(text)); }

bool AskForFileName(std::string& fileName, std::string& makeName, const makes::MakeListPtr& allMakes) {
    auto dialog = std::make_shared<dialogs::FSaveMake>();
    bool accepted = false;
    plat::PassOver([&] {
        dialog->Initialize(allMakes, makeName);
        dialog->Show(plat::ui::ShowMode::Modal);
        if (dialog->Response() == dialogs::FSaveMake::kAccepted) {
            const std::string newFile = dialog->Filename();
            const std::string newName = dialog->OximeterName();
            fileName = newFile;
            makeName = newName;
            accepted = true;
        }
    });
    plat::PassOver([&] { dialog->Unload(); });
    return accepted;
}

}  // namespace editor
