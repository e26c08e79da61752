#include "dialogs/make_file_name.h"

#include "makes/make_utils.h"
#include "platform/values/text.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace {

std::string DottedExtension() { return "." + makes::GetMakesExtension(); }

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

}  // namespace

bool IsInvalidChar(int32_t keyAscii) {
    switch (keyAscii) {
        case '/': case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
            return true;
        default:
            return false;
    }
}

bool IsValidFileName(std::string_view name) {
    const std::string trimmed = plat::Trim(name);
    if (trimmed.empty()) return false;
    for (char c : trimmed)
        if (IsInvalidChar(static_cast<unsigned char>(c))) return false;
    return !plat::EqualsNoCase(trimmed, DottedExtension());
}

bool IsAcceptableMakeFileName(std::string_view name) {
    if (!IsValidFileName(name) || name.front() == '.') return false;
    for (char c : name)
        if (IsControl(static_cast<unsigned char>(c))) return false;
    return true;
}

bool HasMakeExtension(std::string_view name) {
    const std::string extension = DottedExtension();
    return name.size() >= extension.size() && plat::EqualsNoCase(name.substr(name.size() - extension.size()), extension);
}

std::string WithMakeExtension(std::string_view name) {
    return HasMakeExtension(name) ? std::string(name) : std::string(name) + DottedExtension();
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
