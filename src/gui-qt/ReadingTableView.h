#pragma once

#include <QTableView>

#include "gui-qt/ReadingTableModel.h"

namespace tarvo {

// The report-style list of readings. Its selection and the table's selected
// flags are kept equal both ways: the row operations act on the table's first
// selected row, whichever side selected it.
class ReadingTableView final : public QTableView {
    Q_OBJECT

  public:
    explicit ReadingTableView(QWidget* parent = nullptr);

    void showTable(ReadingTable& table);
    ReadingTableModel* readingModel() const { return model_; }
    // The width of the area the rows are drawn in, from which columns are sized.
    int clientWidth() const;

  private:
    void applyColumnWidths();
    void selectionToTable();
    void tableToSelection();

    void keepColumnWidths();
    void restoreColumnWidths();

    ReadingTableModel* model_ = nullptr;
    bool syncing_ = false;
    QList<int> keptWidths_;
};

}  // namespace tarvo
