#include "bench/render/cut_texts.h"

#include <QtCore/QRegularExpression>
#include <QtGui/QFontMetrics>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOptionComboBox>
#include <QtWidgets/QToolBar>

#include <algorithm>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_renderer.h"
#include "platform/qt/qt_text.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "platform/ui/object_control.h"
#include "platform/ui/user_control.h"

namespace {

namespace ui = plat::ui;

// What a button shows of its caption: "&&" is one "&", a lone "&" marks the access key.
QString Shown(const QString& caption) {
    QString text;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

QSize TextSize(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    int width = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    return {width, static_cast<int>(lines.size()) * metrics.height()};
}

class Checker {
public:
    explicit Checker(const ui::Form& form) : form_(form) {}

    void Need(const QWidget& widget, const QString& text, QSize need, QSize has) {
        if (need.width() <= has.width() && need.height() <= has.height()) return;
        Add(widget.objectName(), text, need, has);
    }
    void Add(const QString& name, const QString& text, QSize need, QSize has) {
        cut_.push_back(form_.Name() + "." + plat::qt::FromQt(name) + ": \"" + plat::qt::FromQt(text) + "\" needs " +
                       std::to_string(need.width()) + " x " + std::to_string(need.height()) + " pixels, has " +
                       std::to_string(has.width()) + " x " + std::to_string(has.height()));
    }
    std::vector<std::string> Cut() { return std::move(cut_); }

private:
    const ui::Form& form_;
    std::vector<std::string> cut_;
};

void CheckWidgets(QWidget& window, Checker& check) {
    QStyle* style = QApplication::style();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) continue;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const QString text = Shown(button->text());
            if (text.isEmpty()) continue;
            const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
            const QSize pad(style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) + 2 * frame, 2 * frame);
            check.Need(*button, text, TextSize(text, button->font()) + pad, button->size());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            const QString text = label->text();
            if (text.isEmpty() || label->textFormat() != Qt::PlainText) continue;
            const QSize has = label->contentsRect().size();
            if (!label->wordWrap()) {
                check.Need(*label, text, TextSize(text, label->font()), has);
                continue;
            }
            // Wrapped: no word is wider than the label, and every line shows.
            const QFontMetrics metrics(label->font());
            int widest = 0;
            for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                widest = std::max(widest, metrics.horizontalAdvance(word));
            check.Need(*label, text, QSize(widest, label->heightForWidth(has.width())), has);
        } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            const auto* box = static_cast<QAbstractButton*>(widget);
            if (box->text().isEmpty()) continue;
            check.Need(*box, Shown(box->text()), box->sizeHint(), box->size());
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            // The text a closed list shows, beside its arrow.
            const QString text = combo->currentText();
            if (text.isEmpty()) continue;
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            check.Need(*combo, text, QSize(QFontMetrics(combo->font()).horizontalAdvance(text), 0), QSize(field.width(), 0));
        } else if (auto* bar = qobject_cast<QToolBar*>(widget)) {
            // A button moved into the overflow menu is as hidden as a cut one.
            for (QAction* action : bar->actions()) {
                QWidget* shown = bar->widgetForAction(action);
                if (action->isVisible() && !action->isSeparator() && shown && !shown->isVisibleTo(bar))
                    check.Need(*bar, action->text(), QSize(1, 1), QSize(0, 0));
            }
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            const QString text = Shown(frame->title());
            if (text.isEmpty()) continue;
            const QSize need = TextSize(text, frame->font()) + QSize(2 * style->pixelMetric(QStyle::PM_LayoutLeftMargin), 0);
            check.Need(*frame, text, need, QSize(frame->width(), need.height()));
        }
    }
}

// Column headers: the texts of a grid's row 0, against their columns.
void CheckGrids(const plat::qt::QtRenderer& renderer, const ui::ControlHost& host, Checker& check) {
    for (const auto& control : host.Controls()) {
        if (auto* extender = dynamic_cast<const ui::ObjectControl*>(control.get())) {
            if (auto page = extender->ObjectAs<ui::UserControl>()) CheckGrids(renderer, *page, check);
            continue;
        }
        auto* grid = dynamic_cast<const ui::Grid*>(control.get());
        QWidget* widget = grid ? renderer.WidgetOf(*grid) : nullptr;
        if (!widget || !widget->isVisibleTo(widget->window()) || grid->Rows() == 0) continue;
        const int margin = 2 * (QApplication::style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        for (int32_t col = 0; col < grid->Cols(); ++col) {
            const int width = plat::qt::ToPixelsX(grid->ColWidth(col));
            const QString text = plat::qt::CaptionToQt(grid->CellText(0, col));
            if (width == 0 || text.isEmpty()) continue;
            QFont font = widget->font();
            font.setBold(grid->EffectiveBold(0, col));
            const QSize need = TextSize(text, font) + QSize(margin, 0);
            if (need.width() > width)
                check.Add(widget->objectName() + QStringLiteral("(0,%1)").arg(col), text, need, QSize(width, need.height()));
        }
    }
    for (const ui::ControlHost* docked : ui::AllHosts())
        if (docked->DockParent() == &host) CheckGrids(renderer, *docked, check);
}

}  // namespace

std::vector<std::string> CutTexts(const plat::qt::QtRenderer& renderer, const ui::Form& form) {
    Checker check(form);
    if (QWidget* window = renderer.WindowOf(form)) CheckWidgets(*window, check);
    CheckGrids(renderer, form, check);
    return check.Cut();
}
