// Add, Delete and Send of the main window. Not built yet: the handlers are
// wired to the toolbar and the Send button but do nothing; Close while an
// upload runs only raises the cancel flag.
#include "editor/frm_custom_rcurve.h"

#include "platform/loop/message_loop.h"

namespace editor {

void frmCustomRcurve::tbrMakeAction_ButtonClick(plat::ui::ToolbarButton& /*button*/) {}

void frmCustomRcurve::cmdUpload_Click() {}

void frmCustomRcurve::CancelUpload() {
    m_Cancel = true;
    plat::MessageLoop::Current().DoEventsNoWait();
}

}  // namespace editor
