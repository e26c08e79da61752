#include "plugin/shell/utilities.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <optional>

#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/shell/mti_data.h"
#include "plugin/shell/shell_classes.h"
#include "plugin/shell/test_kind.h"

namespace plugin {

namespace {

std::shared_ptr<plat::ui::ObjectControl> FindObjectControl(plat::ui::ControlHost& window, std::string_view name) {
    std::shared_ptr<plat::ui::ObjectControl> found;
    plat::PassOver([&] { found = std::dynamic_pointer_cast<plat::ui::ObjectControl>(window.Controls().Shared(name)); });
    return found;
}

// The bound of the item for the index; nullopt when it cannot be worked out.
std::optional<float> ItemBound(const host::ILimitItem& item, std::string_view name, int32_t index,
                               int32_t reference) {
    try {
        if (FindTypedReading(name))
            if (auto tolerance = dynamic_cast<const host::IToleranceItem*>(&item))
                return tolerance->Bound(static_cast<float>(reference), index);
        return item.BoundValue(index);
    } catch (...) {
        plat::RethrowAbort();
        return std::nullopt;
    }
}

}  // namespace

bool ValTextFindsNumber(std::string_view original) {
    const std::string replaced = plat::Replace(original, ",", ".");
    const std::string_view text = replaced;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
    };
    auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
        skipBlanks();
    }
    if (i >= text.size()) return false;
    if (isDigit(text[i])) return true;
    if (text[i] == '.') {
        ++i;
        skipBlanks();
        return i < text.size() && isDigit(text[i]);
    }
    if (text[i] == '&' && i + 2 < text.size()) {
        const char base = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
        const char digit = text[i + 2];
        if (base == 'H') return std::isxdigit(static_cast<unsigned char>(digit)) != 0;
        if (base == 'O') return digit >= '0' && digit <= '7';
    }
    return false;
}

const std::string& ProjectName() {
    static const std::string name = [] {
        const std::string progId = kPlugInProgId;
        return progId.substr(0, progId.find('.'));
    }();
    return name;
}

std::shared_ptr<plat::ui::ObjectControl> GetOrAddControl(plat::ui::ControlHost& window, std::string_view className,
                                                         std::string_view controlName) {
    if (auto existing = FindObjectControl(window, controlName)) return existing;
    return window.Controls().Add(ProjectName() + "." + std::string(className), controlName);
}

std::shared_ptr<plat::ui::ObjectControl> GetOrAddVTIControl(plat::ui::ControlHost& window) {
    constexpr std::string_view kName = "VTIControl";
    if (auto existing = FindObjectControl(window, kName)) return existing;
    return window.Controls().Add(ProjectName() + "VTI.XVTIControl", kName);
}

bool LimitItemExists(std::string_view name, const std::shared_ptr<host::ILimitStandard>& standard) {
    if (!standard || name.empty()) return false;
    bool exists = false;
    plat::PassOver([&] {
        auto items = standard->LimitItems();
        for (int32_t i = 1; items && i <= items->Count() && !exists; ++i) {
            auto item = items->Item(i);
            exists = item && item->Key() == name;
        }
    });
    return exists;
}

bool WithinLimits(float value, std::string_view name, const std::shared_ptr<host::ILimitStandard>& standard,
                  int32_t reference) {
    if (!standard) return true;
    if (name.empty()) return false;
    try {
        auto items = standard->LimitItems();
        for (int32_t i = 1; items && i <= items->Count(); ++i) {
            auto item = items->Item(i);
            if (!item || item->Key() != name) continue;
            if (item->BoundEnabled(0)) {
                auto upper = ItemBound(*item, name, 0, reference);
                if (!upper || !(value <= *upper)) return false;
            }
            if (item->BoundEnabled(1)) {
                auto lower = ItemBound(*item, name, 1, reference);
                if (!lower || !(value >= *lower)) return false;
            }
        }
    } catch (...) {
        plat::RethrowAbort();
        return false;
    }
    return true;
}

int32_t StoreMTIRecord(const std::shared_ptr<host::IMtiRecordList>& list, const std::shared_ptr<CMtiData2>& identity) {
    if (!list || !identity) return 0;
    const std::string serial = plat::Trim(identity->SerialNo());
    if (serial.empty()) return 0;
    int32_t highest = 0;
    try {
        for (int32_t i = 1; i <= list->Count(); ++i) {
            auto record = list->Item(i);
            if (!record) continue;
            if (record->PlugInID() == "Pelmo2" && record->MtiType() == identity->MtiType() &&
                plat::Trim(record->SerialNo()) == serial)
                return record->Key();
            highest = std::max(highest, record->Key());
        }
        if (highest == INT32_MAX) return 0;
        auto record = std::make_shared<host::CMtiRecord>();
        record->Initialize("Pelmo2", highest + 1);
        record->SetData(identity->MtiType(), identity->SerialNo(), identity->FWVersion());
        list->Add(record);
        return highest + 1;
    } catch (...) {
        plat::RethrowAbort();
        return 0;
    }
}

}  // namespace plugin
