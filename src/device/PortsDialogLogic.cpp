#include "device/PortsDialogLogic.h"

#include <algorithm>
#include <utility>

#include "device/InstrumentSettings.h"
#include "device/PortSettings.h"
#include "files/IniFile.h"

namespace tarvo {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string comToolTip(int comPort, const std::string& path, const std::string& status) {
    return "COM" + std::to_string(comPort) + ": " + path + " (" + status + ")";
}

std::string comToolTipNow(const IniFile& ini, PortListing& listing, int comPort) {
    const std::string path = portPath(ini, comPort, listing.naming());
    return comToolTip(comPort, path, listing.status(path)) +
           instrumentToolTip(instrumentSetting(ini, comPort));
}

PortsDialogLogic::PortsDialogLogic(IniFile& ini, PortListing& listing)
    : ini_(ini), listing_(listing) {
    refresh();
}

PortsDialogLogic::PortsDialogLogic(IniFile& ini, std::filesystem::path root, DeviceProbe& probe)
    : ini_(ini),
      ownListing_(std::make_unique<NodePortListing>(std::move(root), probe)),
      listing_(*ownListing_) {
    refresh();
}

bool PortsDialogLogic::refresh() {
    std::vector<ListedDevice> devices = listing_.listNow();
    std::array<ComPortRow, 4> comPorts;
    for (int com = 1; com <= 4; ++com) {
        const std::string path = portPath(ini_, com, listing_.naming());
        comPorts[static_cast<std::size_t>(com - 1)] = {path, listing_.status(path)};
    }
    const bool changed = devices != devices_ || comPorts != comPorts_;
    devices_ = std::move(devices);
    comPorts_ = std::move(comPorts);
    return changed;
}

const PortsDialogLogic::ComPortRow& PortsDialogLogic::comPort(int comPort) const {
    const bool known = comPort >= 1 && comPort <= 4;
    return comPorts_[known ? static_cast<std::size_t>(comPort - 1) : 0];
}

bool PortsDialogLogic::choose(int comPort, const std::string& path) {
    const std::string typed = trimmed(path);
    if (typed.empty() || !writePortPath(ini_, comPort, listing_.preferredPath(typed))) {
        return false;
    }
    refresh();
    return true;
}

InstrumentSetting PortsDialogLogic::instrument(int comPort) const {
    return instrumentSetting(ini_, comPort);
}

bool PortsDialogLogic::baudRateChoosable(int comPort) const {
    const InstrumentSetting setting = instrument(comPort);
    return setting.choice && setting.choice->instrument != Instrument::Polled;
}

bool PortsDialogLogic::chooseInstrument(int comPort, Instrument instrument) {
    return writeInstrument(ini_, comPort, {instrument, defaultBaudRate(instrument)});
}

bool PortsDialogLogic::chooseBaudRate(int comPort, int baudRate) {
    const auto& rates = lineBaudRates();
    if (!baudRateChoosable(comPort) ||
        std::find(rates.begin(), rates.end(), baudRate) == rates.end()) {
        return false;
    }
    return writeInstrument(ini_, comPort, {instrument(comPort).choice->instrument, baudRate});
}

}  // namespace tarvo
