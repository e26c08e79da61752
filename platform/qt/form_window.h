#pragma once
// The top-level window of a shown form. Its close box asks the core
// (UserClose: QueryUnload may refuse); a person's resize sets the form's inner
// size (Resize fires there); activating it is the core's UserActivate. Controls are placed on it at their twips positions.

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    plat::ui::Form* form_;
    QSize syncedSize_;
    plat::ui::Picture icon_;
};

}  // namespace plat::qt
