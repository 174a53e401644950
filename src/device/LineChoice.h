#pragma once

#include <string>

#include "device/SerialPort.h"

namespace tarvo {

// The caller's loose integers turned into line settings: unknown baud rates
// fall back to 9600, unknown stop-bit and parity selectors to one stop bit and
// no parity; the data bits pass unchecked.
LineSettings chooseLineSettings(int baudRate, int dataBits, int stopBits, int parity);

// 2, 3 and 4 select COM2..COM4; every other number selects COM1.
int choosePort(int comNumber);

// "Cannot open COM%d ! E4" with the number as it was asked for, not the port chosen.
std::string cannotOpenText(int comNumber);

}  // namespace tarvo
