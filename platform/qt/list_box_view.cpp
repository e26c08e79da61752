#include "platform/qt/list_box_view.h"

#include <QtWidgets/QListWidget>

#include "platform/qt/list_items.h"

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
    ShowItems(list_, *rows_, shown_);
    if (rows_->currentRow() != list_.ListIndex()) rows_->setCurrentRow(list_.ListIndex());
}

}  // namespace plat::qt
