#include "gui-qt/ReadingTableModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <string>
#include <vector>

namespace tarvo {
namespace {

// Collects what Qt's model checker complains about instead of ending the program.
class ModelComplaints {
  public:
    ModelComplaints() { previous_ = qInstallMessageHandler(&ModelComplaints::record); }
    ~ModelComplaints() { qInstallMessageHandler(previous_); }
    static std::vector<std::string>& heard() {
        static std::vector<std::string> messages;
        return messages;
    }

  private:
    static void record(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && type != QtInfoMsg)
            heard().push_back(message.toStdString());
    }
    QtMessageHandler previous_ = nullptr;
};

void addReading(ReadingTable& table, const std::string& device) {
    table.writeReading({{1, device}, {2, "1.23"}, {9, "comment"}});
}

// Accessibility and every Qt view rely on the model announcing each change
// before it happens; the checker compares the rows before and after.
TEST(ReadingTableModel, PassesQtsModelCheckerThroughEveryTableOperation) {
    ModelComplaints complaints;
    ModelComplaints::heard().clear();
    ReadingTable table(900);
    ReadingTableModel model(table);
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    for (int i = 0; i < 5; ++i)
        addReading(table, std::to_string(i));
    table.setSelected(1, true);
    table.change();
    addReading(table, "changed");
    table.setSelected(3, true);
    table.deleteSelected();
    table.comment("strip");
    table.switchMode(ReadingKind::Density, 600);
    addReading(table, "density");
    table.switchMode(ReadingKind::Colour, 900);
    addReading(table, "colour");
    table.clear();
    addReading(table, "after clear");
    EXPECT_EQ(ModelComplaints::heard(), std::vector<std::string>{});
}

TEST(ReadingTableModel, InsertionIsAnnouncedWhileTheOldRowsStillStand) {
    ReadingTable table(900);
    ReadingTableModel model(table);
    addReading(table, "1");
    std::vector<int> rowsWhenAnnounced;
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted,
                     [&] { rowsWhenAnnounced.push_back(model.rowCount()); });
    QObject::connect(&model, &QAbstractItemModel::modelAboutToBeReset,
                     [&] { rowsWhenAnnounced.push_back(model.rowCount()); });
    addReading(table, "2");
    table.clear();
    EXPECT_EQ(rowsWhenAnnounced, (std::vector<int>{1, 2}));
}

// A view told of every cell redraws a row ten times a reading: a reading is
// one insertion, or one change of the row that Change chose.
TEST(ReadingTableModel, AReadingIsOneInsertionOrOneChangeNotOnePerCell) {
    ReadingTable table(900);
    ReadingTableModel model(table);
    addReading(table, "1");
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    addReading(table, "2");
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(changed.count(), 0);

    table.setSelected(1, true);
    table.change();
    changed.clear();
    addReading(table, "1 again");
    EXPECT_EQ(inserted.count(), 1);
    ASSERT_EQ(changed.count(), 1);
    const auto topLeft = changed.first().at(0).value<QModelIndex>();
    const auto bottomRight = changed.first().at(1).value<QModelIndex>();
    EXPECT_EQ(topLeft.row(), 1);
    EXPECT_EQ(bottomRight.row(), 1);
    EXPECT_EQ(bottomRight.column(), model.columnCount() - 1) << "the whole row, once";
}

}  // namespace
}  // namespace tarvo
