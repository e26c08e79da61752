#pragma once
// The modal save-as dialog for an oximeter make: the user types the make's
// name and its file name; the dialog lists the makes that exist, refuses a
// name or file that is taken or unusable, and reports the accepted pair. It
// stores nothing itself.
//
//   auto dialog = std::make_shared<FSaveMake>();
//   dialog->Initialize(allMakes, name, file);     // the editor's: (allMakes, name), boxes left empty
//   dialog->Show(plat::ui::ShowMode::Modal);      // plug-in: ShowModal()
//   if (dialog->Response() == FSaveMake::kAccepted) use(dialog->OximeterName(), dialog->Filename());
//   dialog->Unload();
//
// Refusals on OK (a critical message titled "Save"; the focus goes to the box
// named; the dialog stays open): 21029 a built-in make's name or a listed
// make's name; 21028 an empty name, the default name of a new make, a name
// longer than 9 bytes, not printable ASCII or holding "[", "]", ":" or ",",
// a file name holding a control character or beginning with "."; 21019 a
// listed make's file, or a file of the make folder that belongs to no listed
// make (letter case ignored). Only OK accepts: Cancel, Esc and the close box
// leave the dialog refused.

#include <cstdint>
#include <string>

#include "makes/make_utils.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "dialogs/flavour.h"
#ifdef ORVIK_MAKES_PLUGIN
#include "dialogs/save_make_dialog_interface.h"
#endif

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

class FSaveMake : public plat::ui::Form
#ifdef ORVIK_MAKES_PLUGIN
    , public plugin::ISaveMakeDialog
#endif
{
public:
    static constexpr int32_t kAccepted = 6;  // Response after OK
    static constexpr int32_t kRefused = 7;   // Response after Cancel
    static constexpr int32_t kMaxNameLength = makes::kNameWidth;
    static constexpr int32_t kMaxFileLength = 16;

    FSaveMake();

#ifdef ORVIK_MAKES_PLUGIN
    // Prefills both boxes (the OK rule applies at once) and lists the makes.
    void Initialize(const makes::MakeListPtr& allMakes, const std::string& makeName,
                    const std::string& fileName) override;
    void ShowModal() override { Show(plat::ui::ShowMode::Modal); }
    void Unload() override { plat::ui::Form::Unload(); }
    int32_t Response() const override { return response_; }
    std::string OximeterName() const override;
    std::string Filename() const override;
#else
    // Lists the makes; both boxes stay empty (the name is not used).
    void Initialize(const makes::MakeListPtr& allMakes, const std::string& makeName);
    int32_t Response() const { return response_; }
    std::string OximeterName() const;
    std::string Filename() const;
#endif

private:
    void FillGrid(const makes::MakeListPtr& allMakes);
    void Form_Load();
    void tbOximeter_Change();
    void tbOximeterFile_Change();
    void tbOximeterFile_KeyPress(int32_t& keyAscii);
    void cmdAccept_Click();
    void cmdRefuse_Click();
    void UpdateAccept();
    // Shows the refusal and puts the focus into the box.
    void Refuse(const char* message, plat::ui::TextBox& box);

    plat::ui::Frame& frmSave = Add<plat::ui::Frame>("frmSave");
    plat::ui::Label& lblOximeter = Add<plat::ui::Label>("lblOximeter", &frmSave);
    plat::ui::TextBox& tbOximeter = Add<plat::ui::TextBox>("tbOximeter", &frmSave);
    plat::ui::Label& lblFileName = Add<plat::ui::Label>("lblFileName", &frmSave);
    plat::ui::TextBox& tbOximeterFile = Add<plat::ui::TextBox>("tbOximeterFile", &frmSave);
    plat::ui::Frame& frmExistentOximeters = Add<plat::ui::Frame>("frmExistentOximeters");
    plat::ui::Grid& tlstOximeters = Add<plat::ui::Grid>("tlstOximeters", &frmExistentOximeters);
    plat::ui::CommandButton& cmdAccept = Add<plat::ui::CommandButton>("cmdAccept");
    plat::ui::CommandButton& cmdRefuse = Add<plat::ui::CommandButton>("cmdRefuse");

    int32_t response_ = 0;
};

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
