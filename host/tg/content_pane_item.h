#pragma once
// One pane of the host's test-guide content pane: how its selector button
// looks (style, back colour, picture, picture when selected, caption). The
// content pane shows the control handed with the item when it is selected.

#include <cstdint>
#include <string>

#include "platform/com/com.h"
#include "platform/ui/color.h"
#include "platform/ui/picture.h"

namespace host {

class CContentPaneItem : public plat::Object {
public:
    // Host style bits; kept as given (255 for a plain pane).
    int32_t Style() const { return style_; }
    void SetStyle(int32_t style) { style_ = style; }
    plat::ui::Color BackColor() const { return backColor_; }
    void SetBackColor(plat::ui::Color color) { backColor_ = color; }
    const plat::ui::Picture& Picture() const { return picture_; }
    void SetPicture(plat::ui::Picture picture) { picture_ = std::move(picture); }
    const plat::ui::Picture& SelectedPicture() const { return selectedPicture_; }
    void SetSelectedPicture(plat::ui::Picture picture) { selectedPicture_ = std::move(picture); }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }

private:
    int32_t style_ = 0;
    plat::ui::Color backColor_ = plat::ui::vbButtonFace;
    plat::ui::Picture picture_;
    plat::ui::Picture selectedPicture_;
    std::string caption_;
};

}  // namespace host
