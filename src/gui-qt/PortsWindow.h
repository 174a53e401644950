#pragma once

#include <QDialog>
#include <array>
#include <filesystem>

#include "device/PortsDialogLogic.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace tarvo {

// "Ports": the serial devices present, and for COM1..COM4 the path each
// stands for and whether it is there, the instrument on it and its baud rate.
// Picking a listed device ("Use") or typing a path (Enter) writes [Ports] at
// once, choosing an instrument or a rate [Instruments]. The list is looked at
// again every second, so adapters plugged in or out show up while it is open.
class PortsWindow final : public QDialog {
    Q_OBJECT

  public:
    PortsWindow(IniFile& ini, const std::filesystem::path& root, DeviceProbe& probe,
                QWidget* parent = nullptr);
    PortsWindow(IniFile& ini, PortListing& listing, QWidget* parent = nullptr);

    static constexpr int kRefreshMs = 1000;

    PortsDialogLogic& logic() { return logic_; }
    QListWidget* deviceList() const { return devices_; }
    QLineEdit* pathEdit(int comPort) const { return rows_[index(comPort)].path; }
    QLabel* statusLabel(int comPort) const { return rows_[index(comPort)].status; }
    QPushButton* useButton(int comPort) const { return rows_[index(comPort)].use; }
    QComboBox* instrumentBox(int comPort) const { return rows_[index(comPort)].instrument; }
    QComboBox* baudBox(int comPort) const { return rows_[index(comPort)].baud; }

  private:
    struct Row {
        QLineEdit* path = nullptr;
        QLabel* status = nullptr;
        QPushButton* use = nullptr;
        QComboBox* instrument = nullptr;
        QComboBox* baud = nullptr;
    };
    static std::size_t index(int comPort) { return static_cast<std::size_t>(comPort - 1); }

    void start();
    void createControls();
    void createInstrumentBoxes(Row& row, int comPort);
    void showInstruments();
    void refresh();
    void showDevices();
    void showComPorts();
    void useSelected(int comPort);
    void useTyped(int comPort);

    PortsDialogLogic logic_;
    QListWidget* devices_ = nullptr;
    std::array<Row, 4> rows_;
    QTimer* timer_ = nullptr;
};

}  // namespace tarvo
