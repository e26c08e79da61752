#pragma once
// The modal save-as dialog for an oximeter make as the configuration uses it
// when it stores a make carried in saved test data, and the seam through
// which the plug-in makes one. Until a dialog maker is installed there is no
// dialog, and the callers take that as a refused dialog.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "makes/make_utils.h"

namespace plugin {

class ISaveMakeDialog {
public:
    static constexpr int32_t kAccepted = 6;  // Response after OK
    static constexpr int32_t kRefused = 7;   // Response after Cancel

    virtual ~ISaveMakeDialog() = default;
    // Prefills the two boxes and lists the existing makes (allMakes may be none).
    virtual void Initialize(const makes::MakeListPtr& allMakes, const std::string& makeName,
                            const std::string& fileName) = 0;
    // Shows the dialog modally; returns when it hides.
    virtual void ShowModal() = 0;
    // 0 until a button is pressed, then kAccepted or kRefused.
    virtual int32_t Response() const = 0;
    // The accepted make name, trimmed.
    virtual std::string OximeterName() const = 0;
    // The accepted file name, trimmed, with ".txt" appended when missing.
    virtual std::string Filename() const = 0;
    virtual void Unload() = 0;
};

using SaveMakeDialogMaker = std::function<std::shared_ptr<ISaveMakeDialog>()>;

// Installs the maker (an empty one removes it) and returns the one it replaces.
SaveMakeDialogMaker SetSaveMakeDialogMaker(SaveMakeDialogMaker maker);
// A new dialog, or nullptr when no maker is installed or it fails.
std::shared_ptr<ISaveMakeDialog> NewSaveMakeDialog();

}  // namespace plugin
