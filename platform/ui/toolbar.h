#pragma once
// A toolbar: buttons addressed by 1-based index or by key, each with a
// caption, tool tip, image key (into the toolbar's image list), enabled and
// visible flags; a two-state button also has a Boolean value. The whole bar is
// enabled or disabled as a control. Clicking a button does not move the focus.
//
// From the keyboard the bar is one stop in the window's tab order. While it
// has the focus one button is hot: Left / Right (Home / End) move it over the
// buttons that could be clicked, Space or Enter clicks it. The hot button is
// the last one the keys chose while that one can still be clicked, else the
// first that can.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"

namespace plat::ui {

class ImageList;
class Toolbar;

enum class ButtonStyle { Default = 0, Check = 1, Separator = 3 };

// A button of a toolbar. Its setters tell the toolbar's renderer.
class ToolbarButton {
public:
    // 1-based position.
    int32_t Index() const;
    const std::string& Key() const { return key_; }
    ButtonStyle Style() const { return style_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(std::string text);
    const std::string& Image() const { return image_; }
    void SetImage(std::string key);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    // The state of a two-state (Check) button: true pressed. Program side: no event.
    bool Value() const { return value_; }
    void SetValue(bool on);
    Toolbar& Bar() const { return bar_; }

private:
    friend class Toolbar;
    explicit ToolbarButton(Toolbar& bar) : bar_(bar) {}
    Toolbar& bar_;
    std::string key_;
    ButtonStyle style_ = ButtonStyle::Default;
    std::string caption_;
    std::string toolTip_;
    std::string image_;
    bool enabled_ = true;
    bool visible_ = true;
    bool value_ = false;
};

class Toolbar : public Control {
public:
    ImageList* ImageListOf() const { return imageList_; }
    void SetImageList(ImageList* list);

    // Appends a button. UiError when the key is taken (an empty key is allowed).
    ToolbarButton& Add(std::string key, std::string caption = {}, ButtonStyle style = ButtonStyle::Default,
                       std::string image = {});
    int32_t Count() const { return static_cast<int32_t>(buttons_.size()); }
    // UiError outside 1..Count / for an unknown key.
    ToolbarButton& Button(int32_t index) const;
    ToolbarButton& Button(std::string_view key) const;
    // nullptr for an unknown key.
    ToolbarButton* Find(std::string_view key) const;

    // User action: clicks the button (a Check button toggles its value first),
    // raising ButtonClick. False when the bar or the button is disabled or
    // hidden, the bar cannot be reached, the button is a separator, or there is
    // no such button.
    bool ClickButton(int32_t index);
    bool ClickButton(std::string_view key);
    std::function<void(ToolbarButton& button)> OnButtonClick;

    bool CanTakeFocus() const override { return true; }
    // The 1-based index of the hot button (see above); 0 when no button can be clicked.
    int32_t HotButton() const;
    // Enter clicks the hot button (when there is one).
    bool TakeDialogKey(int32_t keyAscii) override;

protected:
    void KeyAction(int32_t keyCode, int32_t shift) override;

private:
    friend class ToolbarButton;
    void Touch() { NotifyChanged(); }
    bool Click(ToolbarButton* button);
    static bool Clickable(const ToolbarButton& button);
    void SetHot(int32_t index);
    std::vector<std::unique_ptr<ToolbarButton>> buttons_;
    ImageList* imageList_ = nullptr;
    int32_t hot_ = 0;
};

}  // namespace plat::ui
