#include "gui-qt/ReadingTableModel.h"

#include "gui-qt/Cp1252Text.h"

namespace tarvo {

ReadingTableModel::ReadingTableModel(ReadingTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    table_.addObserver(this);
}

ReadingTableModel::~ReadingTableModel() {
    table_.removeObserver(this);
}

int ReadingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int ReadingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.columnCount();
}

// Cells are CP1252 text throughout the program.
QVariant ReadingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        const std::string_view text = table_.cell(index.row(), index.column());
        return cp1252::onScreen(text);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(alignment(index.column()));
    }
    return {};
}

QVariant ReadingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= table_.columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromStdString(table_.columns()[static_cast<std::size_t>(section)].heading);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(alignment(section));
    }
    return {};
}

Qt::Alignment ReadingTableModel::alignment(int column) const {
    const bool left = column >= 0 && column < table_.columnCount() &&
                      table_.columns()[static_cast<std::size_t>(column)].leftAligned;
    return (left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
}

void ReadingTableModel::beginReset() {
    emit rowsChanging();
    emit resetStarting();
    beginResetModel();
}

void ReadingTableModel::endReset() {
    endResetModel();
    emit resetDone();
    emit rowsSettled();
}

void ReadingTableModel::columnsAboutToBeRebuilt() {
    beginReset();
}

void ReadingTableModel::columnsRebuilt() {
    endReset();
    emit headerRebuilt();
}

void ReadingTableModel::rowsAboutToBeReset() {
    beginReset();
}

void ReadingTableModel::rowsReset() {
    endReset();
}

void ReadingTableModel::rowAboutToBeInserted(int index) {
    emit rowsChanging();
    beginInsertRows({}, index, index);
}

void ReadingTableModel::rowInserted(int) {
    endInsertRows();
    emit rowsSettled();
}

// One rowsInserted or one dataChanged for the whole reading.
void ReadingTableModel::readingWritten(int row, bool replaced) {
    if (replaced)
        rowChanged(row);
    else
        rowInserted(row);
}

void ReadingTableModel::rowChanged(int index) {
    emit dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
    emit selectionFlagsChanged();
}

}  // namespace tarvo
