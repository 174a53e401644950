#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "excel/transfer/ExcelDialogLogic.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace tarvo {

// The modeless "Excel Automation" window. Each control is found by its id as
// object name; the window shows an ExcelDialogLogic and reports the
// operator's actions to it, deciding nothing itself.
class ExcelDialog final : public QDialog {
    Q_OBJECT

  public:
    ExcelDialog(QWidget* parent, TransferSession& session, ExcelDialogServices services);

    ExcelDialogLogic& logic() { return logic_; }
    QWidget* control(int id) const;
    // The line under the buttons that tells what the dialog waits for.
    QLabel* noticeLine() const { return notice_; }

    // Told once the window has agreed to close, before it is destroyed.
    void setClosedHandler(std::function<void()> handler) { closed_ = std::move(handler); }

    // Close, Escape and the close box all end here; refused while the
    // spreadsheet runs.
    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls();
    QGroupBox* createSet(int groupId, const char* title, int rowId, int columnId,
                         int firstListColumnId, int lengthId);
    QLineEdit* createEdit(int id, bool digitsOnly);
    QAbstractButton* createButton(int id, const char* label);
    void connectControls();
    void showLogic();
    void showBusy();
    bool agreeToClose();
    template <typename T>
    T* add(int id, T* widget);

    ExcelDialogLogic logic_;
    std::map<int, QWidget*> controls_;
    QLabel* notice_ = nullptr;
    bool busyCursor_ = false;
    std::function<void()> closed_;
    bool closing_ = false;
};

}  // namespace tarvo
