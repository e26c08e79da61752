#pragma once
// Windows (forms) of the headless UI; user_control.h holds embeddable controls.
//
// A window is a subclass of Form that places its controls in member
// initialisers and wires its handlers (std::function members On<Event>) in
// its constructor; handler bodies are private methods named after the control
// and the event:
//
//   class FUploadLocation : public plat::ui::Form {
//   public:
//       FUploadLocation() : Form("frmUploadLocation") {
//           OnLoad = [this] { Form_Load(); };
//           cmdOK.OnClick = [this] { cmdOK_Click(); };
//       }
//       bool CancelClicked() const { return cancelClicked_; }
//   private:
//       void Form_Load() { SetCaption("22002::Location"); }
//       void cmdOK_Click() { cancelClicked_ = false; Hide(); }
//       plat::ui::ComboBox& ComUploadLocation = Add<plat::ui::ComboBox>("ComUploadLocation");
//       plat::ui::CommandButton& cmdOK = Add<plat::ui::CommandButton>("cmdOK");
//       bool cancelClicked_ = false;
//   };
//
//   FUploadLocation dlg;
//   dlg.Show(plat::ui::ShowMode::Modal);   // returns when the dialog hides
//   dlg.Unload();
//
// Life of a window: Load() (first Show loads too) fires OnLoad; the first Show
// after loading fires OnResize; Show(Modal) pumps the thread's MessageLoop
// until the window hides or unloads; Unload() fires OnQueryUnload and OnUnload,
// hides, and removes the controls added at run time by ProgID (so their
// objects are released). The window's own controls keep their state.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/com.h"
#include "platform/ui/control.h"
#include "platform/ui/controls.h"
#include "platform/ui/picture.h"
#include "platform/ui/user_control.h"
#include "platform/values/abort_error.h"

namespace plat::ui {

enum class ShowMode { Modeless = 0, Modal = 1 };
// Why a window unloads: the person closed it (control menu) or code unloaded it.
enum class UnloadMode { ControlMenu = 0, Code = 1 };

// A modal window waits under the virtual clock with nothing left to happen
// (no operator acted, no task or timer is due), or longer than the loop's
// stall limit of virtual time. Names the window.
class ModalStall : public plat::AbortError {
public:
    using AbortError::AbortError;
};

class Form : public plat::Object, public ControlHost {
public:
    // Border and caption size added to the inner size, in twips.
    static constexpr int32_t kFrameWidth = 120;
    static constexpr int32_t kFrameHeight = 510;

    explicit Form(std::string name);
    ~Form() override;

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color color);
    // The window's icon (none: the program's default).
    const Picture& Icon() const { return icon_; }
    void SetIcon(Picture icon);

    // Outer position and size, and the inner (client) size, in twips. Changing
    // the size of a loaded window fires OnResize.
    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    int32_t Width() const { return scaleWidth_ + kFrameWidth; }
    int32_t Height() const { return scaleHeight_ + kFrameHeight; }
    int32_t ScaleWidth() const { return scaleWidth_; }
    int32_t ScaleHeight() const { return scaleHeight_; }
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    void SetInnerSize(int32_t scaleWidth, int32_t scaleHeight);

    bool Loaded() const { return loaded_; }
    // Shown modally right now.
    bool IsModal() const { return modal_; }
    void Load();
    // Modeless: loads, shows and returns. Modal: loads, shows, and pumps the
    // message loop until the window hides or unloads; the window is disabled
    // for nobody but every other window is out of reach meanwhile. UiError when
    // it is already shown modally. ModalStall (see above).
    void Show(ShowMode mode = ShowMode::Modeless);
    void Hide();
    // Unloads (code side). False when OnQueryUnload or OnUnload cancelled.
    bool Unload();

    // User actions. Close by the control menu (OnQueryUnload with ControlMenu,
    // then unload); refused while docked into another window.
    bool UserClose();
    // Enter: goes to the focused control when it takes it (a grid's open cell
    // editor), else clicks the focused command button, else the Default button.
    bool PressEnter();
    // Esc: goes to the focused control when it takes it, else clicks the Cancel button.
    bool PressEscape();
    // Shown, enabled, and no other modal window in front; docked into another
    // window (SetParent), that window must be reachable instead.
    bool IsInteractive() const;

    std::function<void()> OnLoad;
    std::function<void()> OnResize;
    std::function<void(bool& cancel, UnloadMode mode)> OnQueryUnload;
    std::function<void(bool& cancel)> OnUnload;

    // Code gives the window the focus: to its active control if it has one,
    // else to the first control in tab order that is no toolbar (as Show
    // does), else GotFocus fires (where a
    // window that holds a docked page passes the focus on). False when the
    // window is not loaded, shown and enabled.
    bool SetFocus();
    std::function<void()> OnGotFocus;
    // User action: a person activates the window (clicks into it).
    bool UserActivate();
    // User action: Tab (or Shift+Tab) moves the focus to the next (previous)
    // control in tab order that can take it now, wrapping around.
    bool PressTab(bool shift = false);
    // The controls that can take the focus, in tab order: by TabIndex, with
    // the controls of embeddable controls at their extender's place and pages
    // docked into the window after its own controls.
    std::vector<Control*> TabOrder() const;

    bool HostInteractive() const override { return IsInteractive(); }
    bool HostAvailable() const override;
    ControlHost& FocusRoot() override;

    // A text added to the ModalStall message (a test operator says what it
    // waits for). Empty function: none.
    static void SetStallNote(std::function<std::string()> note);

private:
    template <class... Params, class... Args>
    void Fire(const std::function<void(Params...)>& handler, Args&&... args) {
        if (!handler) return;
        auto keep = weak_from_this().lock();  // a window held in a shared_ptr stays alive
        auto copy = handler;
        copy(std::forward<Args>(args)...);
    }
    void RunModal();
    bool DoUnload(UnloadMode mode);

    std::string name_;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = false;
    bool loaded_ = false;
    bool modal_ = false;
    bool resizedSinceLoad_ = false;
    Color backColor_ = kColorButtonFace;
    Picture icon_;
    int32_t left_ = 0, top_ = 0;
    int32_t scaleWidth_ = 4800, scaleHeight_ = 3600;
};

// The loaded windows of this thread, in the order loaded.
std::vector<Form*> LoadedForms();
// The loaded window of that name (case-insensitive; the last loaded when
// several), or nullptr.
Form* FindForm(std::string_view name);
// The window shown modally in front of all others, or nullptr.
Form* TopModalForm();

}  // namespace plat::ui
