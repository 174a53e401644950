#pragma once

#include <QAbstractTableModel>

#include "table/ReadingTable.h"

namespace tarvo {

// Shows a ReadingTable to a Qt view. The table stays the only store: the model
// keeps nothing of its own and only passes the table's changes on.
class ReadingTableModel final : public QAbstractTableModel, public TableObserver {
    Q_OBJECT

  public:
    ReadingTableModel(ReadingTable& table, QObject* parent = nullptr);
    ~ReadingTableModel() override;

    ReadingTable& table() { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void columnsAboutToBeRebuilt() override;
    void columnsRebuilt() override;
    void rowsAboutToBeReset() override;
    void rowsReset() override;
    void rowAboutToBeInserted(int index) override;
    void rowInserted(int index) override;
    void rowChanged(int index) override;
    void readingWritten(int row, bool replaced) override;

  signals:
    // Around a change of the rows, while the view's selection is shifted or
    // dropped and does not stand for the table's.
    void rowsChanging();
    void rowsSettled();
    // Around a wholesale change, which forgets the column widths.
    void resetStarting();
    void resetDone();
    // The header was replaced: column widths must be set again.
    void headerRebuilt();
    // A row's selected flag may have changed in the table.
    void selectionFlagsChanged();

  private:
    Qt::Alignment alignment(int column) const;
    void beginReset();
    void endReset();

    ReadingTable& table_;
};

}  // namespace tarvo
