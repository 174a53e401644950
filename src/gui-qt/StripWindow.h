#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/strip/StripProgress.h"
#include "base/MessageBoxes.h"
#include "files/FileChooser.h"

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QListWidget;
class QPushButton;
class QValueAxis;

namespace tarvo {

// The "Strip" window: the next patch to measure and the density curves of
// the strip so far, following the reading table as readings come. It shows a
// StripProgress and decides nothing itself.
class StripWindow final : public QWidget {
    Q_OBJECT

  public:
    // Without a chooser, "Save Picture..." asks through Qt's file dialog.
    StripWindow(ReadingTable& table, int fileType, MessageBoxes& messages,
                FileChooser* chooser = nullptr, QWidget* owner = nullptr);
    ~StripWindow() override;

    void setFileType(int fileType) { progress_.setFileType(fileType); }
    // The reference the strip is held against; null: none.
    void setReference(ChosenReference* reference) { progress_.setReference(reference); }
    // Brings the row of a chosen check into the main table's view.
    void setRowShower(std::function<void(int)> shower) { showRow_ = std::move(shower); }
    QString text() const;
    QLineSeries* series(CurveInk ink) const { return series_.at(ink); }
    QLineSeries* referenceSeries(CurveInk ink) const { return referenceSeries_.at(ink); }
    QLabel* referenceLine() const { return reference_; }
    QValueAxis* patchAxis() const { return patchAxis_; }
    QPushButton* savePictureButton() const { return saveButton_; }
    QLabel* checksHeadline() const { return checksHeadline_; }
    QListWidget* checksList() const { return checksList_; }

    // Shows the table as it is now; changes are otherwise shown together once
    // the event loop runs, so a reading's ten cell writes draw one picture.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void createChecksList();
    void createSeries(QChart& chart);
    void createReferenceSeries(QChart& chart);
    void showReference(const StripPicture& picture);
    void createAxes(QChart& chart);
    void tableChanged();
    void savePictureClicked();
    void showChecks(const std::vector<StripCheck>& checks);
    void checkChosen(int index);
    void placeFirstTime();

    ReadingTable& table_;
    StripProgress progress_;
    MessageBoxes& messages_;
    std::unique_ptr<FileChooser> ownChooser_;
    FileChooser& chooser_;
    QLabel* text_ = nullptr;
    QLabel* reference_ = nullptr;
    QLabel* checksHeadline_ = nullptr;
    QListWidget* checksList_ = nullptr;
    ListedChecks listed_;
    std::function<void(int)> showRow_;
    QChartView* view_ = nullptr;
    QValueAxis* patchAxis_ = nullptr;
    QValueAxis* densityAxis_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    std::map<CurveInk, QLineSeries*> series_;
    std::map<CurveInk, QLineSeries*> referenceSeries_;
    bool refreshPending_ = false;
    bool placed_ = false;
};

}  // namespace tarvo
