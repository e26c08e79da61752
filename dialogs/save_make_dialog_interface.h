#pragma once
// The save-as dialog for an oximeter make as the plug-in's configuration sees
// it; the plug-in flavour of FSaveMake offers it, and the configuration makes
// one through its dialog maker (plugin/config/save_make_dialog_maker.h).

#include <cstdint>
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

}  // namespace plugin
