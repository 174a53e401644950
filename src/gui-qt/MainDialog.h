#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "app/DateText.h"
#include "app/MainWindowState.h"
#include "base/MessageBoxes.h"
#include "files/IniFile.h"

class QAbstractButton;
class QAction;

namespace tarvo {

class ReadingTableView;
class StripWindow;
class WelcomeWindow;

// What the main window needs from outside; tests hand in their own.
struct MainDialogServices {
    IniFile& ini;
    const Clock& clock;
    MessageBoxes& messages;
    std::filesystem::path programFolder;  // where TRWelcome.bmp lies
};

// The program's one main window: the reading table and its 17 other controls,
// each found by its id as object name. It shows a MainWindowState and reports
// the operator's actions to it; it decides nothing itself.
class MainDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit MainDialog(const MainDialogServices& services);
    ~MainDialog() override;

    MainWindowState& state() { return *state_; }
    MessageBoxes& messages() { return messages_; }
    QWidget* control(int id) const;
    QAbstractButton* button(int id) const;
    ReadingTableView* tableView() const { return tableView_; }
    WelcomeWindow* welcomeWindow() const { return welcome_; }
    QAction* aboutAction() const { return aboutAction_; }
    QAction* portsAction() const { return portsAction_; }
    QAction* copyRowsAction() const { return copyRowsAction_; }
    QAction* stripAction() const { return stripAction_; }
    QAction* exportCgatsAction() const { return exportCgatsAction_; }
    QAction* referenceAction() const { return referenceAction_; }
    QAction* noReferenceAction() const { return noReferenceAction_; }
    // Null until the operator first opens it.
    StripWindow* stripWindow() const { return strip_; }

    // What Start Dev., Save, Print and EXCEL do; until set, they do nothing.
    void setButtonHandler(int id, std::function<void()> handler);
    // What "&Ports..." (F2) opens; offered only while no acquisition runs.
    void setPortsHandler(std::function<void()> handler) { portsHandler_ = std::move(handler); }
    // What "Export CGATS..." (Ctrl+E) does; until set, nothing.
    void setExportCgatsHandler(std::function<void()> handler) {
        exportCgatsHandler_ = std::move(handler);
    }
    // What "Reference..." does; until set, nothing.
    void setReferenceHandler(std::function<void()> handler) {
        referenceHandler_ = std::move(handler);
    }
    // Puts the selected rows, or all rows, on the clipboard as text.
    void copyRows();

    // A window-menu command: 16 to 31 open the About box.
    void systemCommand(int command);
    void showAbout();
    void showStrip();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void createControls();
    void connectControls();
    void createAboutEntry();
    void createPortsAndCopyEntries();
    void createStripEntry();
    void createReferenceEntries();
    void showState();
    void runHandler(int id);

    MessageBoxes& messages_;
    std::unique_ptr<MainWindowState> state_;
    std::map<int, QWidget*> controls_;
    std::map<int, std::function<void()>> handlers_;
    ReadingTableView* tableView_ = nullptr;
    WelcomeWindow* welcome_ = nullptr;
    bool welcomeMayShow_ = false;  // the main window is shown and mapped
    QAction* aboutAction_ = nullptr;
    QAction* portsAction_ = nullptr;
    QAction* copyRowsAction_ = nullptr;
    std::function<void()> portsHandler_;
    QAction* stripAction_ = nullptr;
    StripWindow* strip_ = nullptr;
    QAction* exportCgatsAction_ = nullptr;
    std::function<void()> exportCgatsHandler_;
    QAction* referenceAction_ = nullptr;
    QAction* noReferenceAction_ = nullptr;
    std::function<void()> referenceHandler_;
};

}  // namespace tarvo
