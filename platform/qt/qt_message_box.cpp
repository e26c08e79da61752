#include "platform/qt/qt_message_box.h"

#include <QtCore/QPointer>
#include <QtGui/QWindow>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpacerItem>

#include <vector>

#include "platform/loop/message_loop.h"
#include "platform/qt/event_hook.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

namespace ui = plat::ui;

namespace {

thread_local std::vector<QMessageBox*> tOpen;

QMessageBox::StandardButton ButtonOf(int32_t answer) {
    switch (answer) {
        case ui::vbOK: return QMessageBox::Ok;
        case ui::vbCancel: return QMessageBox::Cancel;
        case ui::vbAbort: return QMessageBox::Abort;
        case ui::vbRetry: return QMessageBox::Retry;
        case ui::vbIgnore: return QMessageBox::Ignore;
        case ui::vbYes: return QMessageBox::Yes;
        default: return QMessageBox::No;
    }
}

QMessageBox::Icon IconOf(int32_t icon) {
    switch (icon) {
        case ui::vbCritical: return QMessageBox::Critical;
        case ui::vbQuestion: return QMessageBox::Question;
        case ui::vbExclamation: return QMessageBox::Warning;
        case ui::vbInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

QtMessageBoxService::QtMessageBoxService(std::shared_ptr<ui::MessageBoxService> fallback, std::function<void()> flush)
    : fallback_(std::move(fallback)), flush_(std::move(flush)) {}

QMessageBox* QtMessageBoxService::Current() { return tOpen.empty() ? nullptr : tOpen.back(); }

int32_t QtMessageBoxService::Answer(const ui::MessageBoxRequest& request) {
    MessageLoop& loop = MessageLoop::Current();
    if (loop.Virtual()) return fallback_ ? fallback_->Answer(request) : request.DefaultAnswer();

    QtApplication::Ensure();
    if (flush_) flush_();
    // Deleted later, never under a Qt event that may still be delivering to it.
    auto* box = new QMessageBox(IconOf(request.Icon()), ToQt(request.title), CaptionToQt(request.prompt));
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setWindowModality(Qt::ApplicationModal);
    const auto answers = request.Answers();
    for (int32_t a : answers) {
        QPushButton* button = box->addButton(ButtonOf(a));
        if (a == request.DefaultAnswer()) box->setDefaultButton(button);
    }
    // A dialog with only a close box, wide enough for its whole title.
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        QFont titleFont = box->font();
        titleFont.setBold(true);  // as window managers draw titles
        const QFontMetrics metrics(titleFont);
        const int titleWidth = metrics.horizontalAdvance(box->windowTitle()) + 4 * metrics.height();
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
    // Over the window it belongs to: placed before it shows, and again each
    // time it takes its size (the box sizes itself to its texts as it shows).
    QPointer<QWidget> owner = FormWindow::Frontmost();
    if (owner) {
        box->winId();
        if (QWindow* handle = box->windowHandle()) handle->setTransientParent(owner->window()->windowHandle());
        box->adjustSize();
        FormWindow::KeepCentredOver(*box, *owner);
        new EventHook(box, [box, owner](QObject*, QEvent* event) {
            if (event->type() == QEvent::Resize && owner) FormWindow::CentreOver(*box, *owner);
            return false;
        });
    }
    tOpen.push_back(box);
    struct Close {
        QMessageBox* box;
        ~Close() {
            std::erase(tOpen, box);
            box->hide();
            box->deleteLater();
        }
    } close{box};
    box->show();
    // A button, Esc or the close box hides it; the last two give the box's escape button.
    loop.RunUntil([box] { return !box->isVisible(); });
    int32_t answer = request.DefaultAnswer();
    for (int32_t a : answers)
        if (box->clickedButton() && box->button(ButtonOf(a)) == box->clickedButton()) answer = a;
    return answer;
}

}  // namespace plat::qt
