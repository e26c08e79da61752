#include "platform/qt/html_view_view.h"

#include <QtCore/QUrl>
#include <QtWidgets/QTextBrowser>

#include "platform/qt/qt_text.h"

namespace plat::qt {

QWidget* HtmlViewView::Create(QWidget* parent) {
    browser_ = new QTextBrowser(parent);
    browser_->setOpenExternalLinks(false);
    // A narrow pane breaks lines between words only; a word wider than it scrolls instead.
    browser_->setWordWrapMode(QTextOption::WordWrap);
    return browser_;
}

void HtmlViewView::SyncOwn() {
    auto view = static_cast<plat::ui::ObjectControl*>(Control())->ObjectAs<plat::ui::HtmlView>();
    if (!view || view->NavigationCount() == shownNavigation_) return;
    shownNavigation_ = view->NavigationCount();
    const QString location = ToQt(view->LocationURL());
    if (location.isEmpty()) {
        browser_->clear();
        return;
    }
    const QUrl url = QUrl::fromUserInput(location, QString(), QUrl::AssumeLocalFile);
    browser_->setSource(url);
}

}  // namespace plat::qt
