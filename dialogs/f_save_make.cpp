#include "dialogs/f_save_make.h"

#include <filesystem>

#include "host/translate_text.h"
#include "platform/ui/msgbox.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "dialogs/form_captions.h"
#include "dialogs/make_file_name.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace {

constexpr int32_t kBackspace = 8;
constexpr int32_t kNameCol = 1;
constexpr int32_t kFileCol = 2;

// The instrument and the make files take a make name as it stands only when it
// is short printable ASCII without the characters that frame their fields.
bool IsUsableMakeName(std::string_view name) {
    if (name.size() > static_cast<size_t>(FSaveMake::kMaxNameLength)) return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E || c == '[' || c == ']' || c == ':' || c == ',') return false;
    }
    return true;
}

// Anything of that name in the make folder, letter case ignored.
bool InMakeFolder(const std::string& fileName) {
    bool found = false;
    plat::PassOver([&] {
        const std::string folder = makes::GetMakesDirectory(makes::kRegistryKey);
        if (folder.empty()) return;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (plat::EqualsNoCase(it->path().filename().string(), fileName)) found = true;
    });
    return found;
}

}  // namespace

FSaveMake::FSaveMake() : Form("FSaveMake") {
    SetCaption("21013::Save Oximeter As...");
    frmSave.SetCaption("21014::New Oximeter");
    lblOximeter.SetCaption("22020::Oximeter make name");
    lblFileName.SetCaption("21015::Oximeter file name");
    frmExistentOximeters.SetCaption("21016::Existent Oximeters");
    cmdAccept.SetCaption("22006::&OK");
    cmdRefuse.SetCaption("22007::&Cancel");
    tbOximeter.SetMaxLength(kMaxNameLength);
    tbOximeterFile.SetMaxLength(kMaxFileLength);
    cmdAccept.SetEnabled(false);
    cmdAccept.SetDefault(true);
    cmdRefuse.SetCancel(true);

    frmSave.Move(120, 120, 5160, 1320);
    lblOximeter.Move(240, 330, 2400, 285);
    tbOximeter.Move(2760, 300, 2220, 315);
    lblFileName.Move(240, 810, 2400, 285);
    tbOximeterFile.Move(2760, 780, 2220, 315);
    frmExistentOximeters.Move(120, 1560, 5160, 2520);
    tlstOximeters.Move(120, 300, 4920, 2100);
    cmdAccept.Move(2280, 4200, 1400, 375);
    cmdRefuse.Move(3840, 4200, 1400, 375);
    SetInnerSize(5400, 4740);
    tbOximeter.SetTabIndex(0);
    tbOximeterFile.SetTabIndex(1);
    tlstOximeters.SetTabIndex(2);
    cmdAccept.SetTabIndex(3);
    cmdRefuse.SetTabIndex(4);

    tlstOximeters.SetCols(3);
    tlstOximeters.SetRows(2);
    tlstOximeters.SetColWidth(0, 240);
    tlstOximeters.SetColWidth(kNameCol, 2040);
    tlstOximeters.SetColWidth(kFileCol, 2400);
    tlstOximeters.SetCellText(0, kNameCol, "22020::Oximeter make name");
    tlstOximeters.SetCellText(0, kFileCol, "21015::Oximeter file name");

    OnLoad = [this] { Form_Load(); };
    tbOximeter.OnChange = [this] { tbOximeter_Change(); };
    tbOximeterFile.OnChange = [this] { tbOximeterFile_Change(); };
    tbOximeterFile.OnKeyPress = [this](int32_t& keyAscii) { tbOximeterFile_KeyPress(keyAscii); };
    cmdAccept.OnClick = [this] { cmdAccept_Click(); };
    cmdRefuse.OnClick = [this] { cmdRefuse_Click(); };
}

#ifdef ORVIK_MAKES_PLUGIN
void FSaveMake::Initialize(const makes::MakeListPtr& allMakes, const std::string& makeName,
                           const std::string& fileName) {
    plat::PassOver([&] { tbOximeter.SetText(makeName); });
    plat::PassOver([&] { tbOximeterFile.SetText(fileName); });
    FillGrid(allMakes);
}
#else
void FSaveMake::Initialize(const makes::MakeListPtr& allMakes, const std::string& /*makeName*/) {
    FillGrid(allMakes);
}
#endif

void FSaveMake::FillGrid(const makes::MakeListPtr& allMakes) {
    plat::PassOver([&] {
        tlstOximeters.SetRows(2);
        tlstOximeters.SetSelectionMode(0);
        if (!allMakes) return;
        tlstOximeters.SetRows(allMakes->Count() + 1);
        int32_t row = 1;
        for (const makes::OximeterMakePtr& make : *allMakes) {
            tlstOximeters.SetCellText(row, kNameCol, make ? make->Name() : std::string());
            tlstOximeters.SetCellText(row, kFileCol, make ? make->File() : std::string());
            ++row;
        }
    });
}

std::string FSaveMake::OximeterName() const { return plat::Trim(tbOximeter.Text()); }

std::string FSaveMake::Filename() const { return WithMakeExtension(plat::Trim(tbOximeterFile.Text())); }

void FSaveMake::Form_Load() {
    plat::PassOver([&] { TranslateFormCaptions(*this); });
    for (int32_t col : {kNameCol, kFileCol})
        plat::PassOver([&] {
            tlstOximeters.SetCellText(0, col, host::TranslateText(kLanguageSection, tlstOximeters.CellText(0, col)));
        });
    tlstOximeters.SetUserResize(false);
}

void FSaveMake::UpdateAccept() {
    plat::PassOver([&] { cmdAccept.SetEnabled(!tbOximeter.Text().empty() && IsValidFileName(tbOximeterFile.Text())); });
}

void FSaveMake::tbOximeter_Change() { UpdateAccept(); }

void FSaveMake::tbOximeterFile_Change() { UpdateAccept(); }

void FSaveMake::tbOximeterFile_KeyPress(int32_t& keyAscii) {
    if (keyAscii == kBackspace) return;
    if (IsInvalidChar(keyAscii)) keyAscii = 0;
}

void FSaveMake::Refuse(const char* message, plat::ui::TextBox& box) {
    plat::PassOver([&] {
        plat::ui::MsgBox(host::TranslateText(kLanguageSection, message), plat::ui::vbCritical | plat::ui::vbOKOnly,
                         host::TranslateText(kLanguageSection, "21021::Save"));
    });
    plat::PassOver([&] { box.SetFocus(); });
}

void FSaveMake::cmdAccept_Click() {
    static constexpr const char* kNameInUse =
        "21029::This Oximeter name is in use by another oximeter. Please choose another name.";
    static constexpr const char* kInvalidName = "21028::Invalid oximeter name. Please select different oximeter name.";
    static constexpr const char* kFileInUse =
        "21019::This file name is in use by another oximeter. Please choose another file name.";

    const std::string file = Filename();
    const std::string name = OximeterName();
    if (!makes::ValidateMakeName(name)) return Refuse(kNameInUse, tbOximeter);
    if (name.empty() || plat::EqualsNoCase(name, makes::DefaultMakeName()) || !IsUsableMakeName(name))
        return Refuse(kInvalidName, tbOximeter);
    if (!IsAcceptableMakeFileName(file)) return Refuse(kInvalidName, tbOximeterFile);

    bool nameTaken = false;
    bool fileTaken = false;
    for (int32_t row = 1; row < tlstOximeters.Rows(); ++row) {
        if (plat::EqualsNoCase(tlstOximeters.CellText(row, kNameCol), name)) {
            nameTaken = true;
            break;
        }
        if (plat::EqualsNoCase(tlstOximeters.CellText(row, kFileCol), file)) {
            fileTaken = true;
            break;
        }
    }
    if (fileTaken) return Refuse(kFileInUse, tbOximeterFile);
    if (nameTaken) return Refuse(kNameInUse, tbOximeter);
    // A file of the folder that no listed make owns is never replaced from here.
    if (InMakeFolder(file)) return Refuse(kFileInUse, tbOximeterFile);

    response_ = kAccepted;
    Hide();
}

void FSaveMake::cmdRefuse_Click() {
    response_ = kRefused;
    Hide();
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
