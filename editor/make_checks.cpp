#include "editor/make_checks.h"

#include <limits>
#include <memory>

#include "makes/step.h"
#include "platform/ui/grid.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"
#include "plugin/config/dialogs/fsave_make.h"

namespace editor {

namespace {

constexpr const char* kModule = "MakeUtils";
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

std::string NumberText(std::string_view text) { return plat::NumberToText(makes::ValText(text)); }

bool AskForFileName(std::string& fileName, std::string& makeName, const makes::MakeListPtr& allMakes) {
    auto dialog = std::make_shared<dialogs::FSaveMake>();
    bool accepted = false;
    makes::RunStep(kModule, "AskForFileName", __LINE__, [&] {
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
    makes::RunStep(kModule, "AskForFileName", __LINE__, [&] { dialog->Unload(); });
    return accepted;
}

}  // namespace editor
