#include "platform/qt/list_box_view.h"

#include <QtWidgets/QListWidget>

#include "platform/qt/qt_text.h"

namespace plat::qt {

QWidget* ListBoxView::Create(QWidget* parent) {
    rows_ = new QListWidget(parent);
    rows_->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(rows_, &QListWidget::currentRowChanged, Context(), [this](int row) {
        if (row >= 0) Act([this, row] { list_.PickItem(row); });
    });
    WatchFocus(rows_);
    return rows_;
}

void ListBoxView::SyncOwn() {
    std::vector<std::string> items;
    items.reserve(static_cast<size_t>(list_.ListCount()));
    for (int32_t i = 0; i < list_.ListCount(); ++i) items.push_back(list_.List(i));
    if (items != shown_) {
        rows_->clear();
        for (const auto& item : items) rows_->addItem(ToQt(item));
        shown_ = std::move(items);
    }
    if (rows_->currentRow() != list_.ListIndex()) rows_->setCurrentRow(list_.ListIndex());
}

}  // namespace plat::qt
