#pragma once
// XHtmlHelp: the help page of a test beside the test guide, shown in an HTML
// view that it adds to itself. Pages lie in "Help/<language>/" beside the
// plug-in library, <language> as the host's setting "GUI" names it, with
// "Help/English/" as the fallback.
//
// Names are taken only when plain (no "/" or "\", no ".."): an unusable file
// name shows nothing, an unusable or empty language goes straight to
// English. A language folder whose name differs only in letter case is found.

#include <memory>
#include <string>

#include "platform/ui/html_view.h"
#include "platform/ui/object_control.h"
#include "platform/ui/user_control.h"
#include "plugin/factory/server_lock.h"
#include "plugin/shell/html_help_interface.h"

namespace plugin {

class XHtmlHelp : public plat::ui::UserControl, public IHtmlHelp {
public:
    // Adds the HTML view "web"; without it the viewer stays empty.
    XHtmlHelp();

    // Sends the view to the page of that file name: true when a page was
    // found, else false and the view keeps what it showed.
    bool Initialize(const std::string& fileName) override;
    // The full path of the page, or "" when there is none.
    std::string ResolveHelpFile(const std::string& fileName) const;

    // The view (nullptr when it could not be added).
    std::shared_ptr<plat::ui::HtmlView> Browser() const;

    // The folder that holds "Help" (by default the library's own folder).
    static void SetLibraryFolderForTests(std::string folder);

private:
    void UserControl_Resize();

    std::shared_ptr<plat::ui::ObjectControl> web_;
    ServerLock lock_;
};

}  // namespace plugin
