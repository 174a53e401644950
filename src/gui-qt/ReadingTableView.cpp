#include "gui-qt/ReadingTableView.h"

#include <QHeaderView>
#include <QItemSelection>
#include <QScrollBar>

namespace tarvo {

ReadingTableView::ReadingTableView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // The selection stays visible when another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

void ReadingTableView::showTable(ReadingTable& table) {
    ReadingTableModel* previous = model_;
    model_ = new ReadingTableModel(table, this);
    setModel(model_);
    delete previous;
    connect(model_, &ReadingTableModel::headerRebuilt, this, &ReadingTableView::applyColumnWidths);
    connect(model_, &ReadingTableModel::selectionFlagsChanged, this,
            &ReadingTableView::tableToSelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ReadingTableView::selectionToTable);
    connect(model_, &ReadingTableModel::rowsChanging, this, [this] { syncing_ = true; });
    connect(model_, &ReadingTableModel::rowsSettled, this, [this] {
        syncing_ = false;
        tableToSelection();
    });
    connect(model_, &ReadingTableModel::resetStarting, this, &ReadingTableView::keepColumnWidths);
    connect(model_, &ReadingTableModel::resetDone, this, &ReadingTableView::restoreColumnWidths);
    applyColumnWidths();
    tableToSelection();
}

// As the list control reports its client area: inside the frame, without
// the vertical scroll bar while one shows.
int ReadingTableView::clientWidth() const {
    const QScrollBar* bar = verticalScrollBar();
    const int barWidth = bar->isVisibleTo(this) ? bar->sizeHint().width() : 0;
    return width() - 2 * frameWidth() - barWidth;
}

void ReadingTableView::applyColumnWidths() {
    const auto& columns = model_->table().columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        horizontalHeader()->resizeSection(static_cast<int>(c), columns[c].width);
    }
}

// A reset forgets the widths the operator dragged; they are put back, unless
// the header itself was rebuilt.
void ReadingTableView::keepColumnWidths() {
    keptWidths_.clear();
    for (int c = 0; c < horizontalHeader()->count(); ++c) {
        keptWidths_.append(horizontalHeader()->sectionSize(c));
    }
}

void ReadingTableView::restoreColumnWidths() {
    if (keptWidths_.size() == horizontalHeader()->count()) {
        for (int c = 0; c < keptWidths_.size(); ++c) {
            horizontalHeader()->resizeSection(c, keptWidths_[c]);
        }
    }
}

void ReadingTableView::selectionToTable() {
    if (syncing_) {
        return;
    }
    syncing_ = true;
    ReadingTable& table = model_->table();
    for (int row = 0; row < table.rowCount(); ++row) {
        table.setSelected(row, selectionModel()->isRowSelected(row, {}));
    }
    syncing_ = false;
}

void ReadingTableView::tableToSelection() {
    if (syncing_) {
        return;
    }
    syncing_ = true;
    const ReadingTable& table = model_->table();
    QItemSelection selection;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.isSelected(row)) {
            selection.select(model_->index(row, 0), model_->index(row, model_->columnCount() - 1));
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
}

}  // namespace tarvo
