#pragma once
// The top-level window of a shown form. Its close box asks the core
// (UserClose: QueryUnload may refuse); a person's resize sets the form's inner
// size (Resize fires there); activating it is the core's UserActivate. Controls are placed on it at their twips positions.
//
// A form that does not follow its size (no Resize handler) has a fixed
// design: its window keeps the design size and has no maximise button. A
// form that follows it can grow, but not shrink below the size it opened at,
// where every control shows.

#include <QtCore/QPointer>
#include <QtWidgets/QWidget>

#include "platform/ui/form.h"

namespace plat::qt {

class FormWindow final : public QWidget {
public:
    explicit FormWindow(plat::ui::Form& form);

    // The form, or nullptr once it is gone (the window is then on its way out).
    plat::ui::Form* Form() const { return form_; }
    void Detach() { form_ = nullptr; }

    // Reads caption, size, enabled and colour.
    void Sync();

    // Before showing: the window belongs to `owner` (nullptr: to nobody, as a
    // program's main window). One that belongs to another window is a dialog
    // over it (no minimise button) and, when `centre`, opens centred over it.
    void OpenOver(QWidget* owner, bool centre);

    // The window a new dialog or message box belongs to: the active one of
    // ours, else the one shown last that still shows; never `except`. nullptr: none.
    static QWidget* Frontmost(const QWidget* except = nullptr);
    // Puts `window` (its size known) centred over `owner`, within the owner's screen.
    static void CentreOver(QWidget& window, const QWidget& owner);
    // CentreOver, and again while `window` shows whenever the owner's window
    // moves or takes another size: a window manager that places or frames the
    // owner after the dialog opened (a file opened at start) moves the dialog
    // with it. The returned watcher goes with `window`, or when deleted.
    static QObject* KeepCentredOver(QWidget& window, const QWidget& owner);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool Fixed() const;

    plat::ui::Form* form_;
    QSize syncedSize_;
    plat::ui::Picture icon_;
    uint64_t shownOrder_ = 0;
    QPointer<QObject> ownerWatch_;
};

}  // namespace plat::qt
