#include "device/LineChoice.h"

#include <cstdio>

namespace tarvo {

namespace {

int chooseBaudRate(int baudRate) {
    switch (baudRate) {
        case 1200:
        case 2400:
        case 4800:
        case 19200:
            return baudRate;
        default:
            return 9600;
    }
}

Parity chooseParity(int parity) {
    switch (parity) {
        case 1:
            return Parity::Odd;
        case 2:
            return Parity::Even;
        default:
            return Parity::None;
    }
}

StopBits chooseStopBits(int stopBits) {
    switch (stopBits) {
        case 1:
            return StopBits::OnePointFive;
        case 2:
            return StopBits::Two;
        default:
            return StopBits::One;
    }
}

}  // namespace

LineSettings chooseLineSettings(int baudRate, int dataBits, int stopBits, int parity) {
    LineSettings line;
    line.baudRate = chooseBaudRate(baudRate);
    line.dataBits = dataBits;
    line.parity = chooseParity(parity);
    line.stopBits = chooseStopBits(stopBits);
    return line;
}

int choosePort(int comNumber) {
    return comNumber >= 2 && comNumber <= 4 ? comNumber : 1;
}

std::string cannotOpenText(int comNumber) {
    char text[40];
    std::snprintf(text, sizeof text, "Cannot open COM%d ! E4", comNumber);
    return text;
}

}  // namespace tarvo
