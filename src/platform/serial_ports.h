// The COM table: which device path COM n stands for. COM n is entry n - 1.
//
// QORV_SERIAL_PORTS, when set, is the table: device paths separated by ':' (an empty
// entry keeps its place and stands for no port, so "::/dev/pts/3" makes that COM3).
// Otherwise the table lists the machine's serial ports as libserialport finds them,
// sorted by name with numbers in natural order (ttyS2 before ttyS10). The table is
// read anew at every call, so adapters plugged in later are found.
#pragma once

#include <functional>
#include <string>
#include <vector>

std::vector<std::string> SerialPortTable();
// The device path of a port index (0 = COM1); empty when the table has no such port.
std::string SerialPortPath(int portIndex);

// Test seam: the machine's port names, unsorted, in place of libserialport's (none: those).
using TSerialPortLister = std::function<std::vector<std::string>()>;
// Answers the previous lister.
TSerialPortLister SetSerialPortLister(TSerialPortLister lister);
