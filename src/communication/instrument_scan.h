// The scan for instruments on a National Instruments board: every address of the board
// node that answers as a listener is asked "*IDN?" and offered as a device named by its
// reply. CEC boards are not offered (their scan cannot find instruments), nor are serial
// ports. The scan runs on a worker thread; it stops between addresses when cancelled,
// and always takes each address's descriptor and then the board off line.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "model/ui_port.h"

class TCommunicationsTree;
class TDeviceList;
class THolderCommunication;
class THolderDevice;

// One instrument found: "<name> at address <n>" and its location.
struct TScanItem {
  std::string Text;
  THolderDevice* Location = nullptr;
};

// The reply cut at its first NUL, with trailing CR, LF, blanks and control characters
// removed.
std::string TrimScanReply(const std::string& reply);
// The name of the instrument at the address: the trimmed reply, or "Device" + address
// when the read failed or ended by time-out or the trimmed reply is empty.
std::string ScanName(const std::string& reply, bool readOk, int address);

// The board nodes of the tree that can be scanned (SupportsScan), in tree order.
std::vector<THolderCommunication*> ScannableBoards(const TCommunicationsTree& tree);

// Called with each item as it is found and after each address asked (its index among
// the node's locations); from the scanning thread.
struct TScanProgress {
  std::function<void(const TScanItem&)> Found;
  std::function<void(int done)> Asked;
};

// The instrument scan of an NI board node (a non-NI node does nothing): interface clear,
// then for each location in order, while not cancelled: the listener test, and for a
// listener "*IDN?" written and up to 100 bytes read on a descriptor of 1 s time-out,
// which is then taken off line; the board is taken off line at the end. Answers the
// items found, in address order.
std::vector<TScanItem> AutoDetectNatDevices(const THolderCommunication& board,
                                            const std::atomic<bool>& cancel,
                                            const TScanProgress& progress = {});

// Apply of one checked item: a free location gets a new device named by the item text,
// with the location's default characters, and the experiment is marked modified; an
// occupied one gets nothing (false).
bool AddScannedDevice(TDeviceList& list, THolderDevice& location, const std::string& name);

// "Scan For Devices": the scan dialog on the list's tree.
struct TScanForDevicesRequest : TDialogRequest {
  TDeviceList* List = nullptr;
};

// Shows the scan dialog; refused (false) while a run is active, and "No GPIB board have
// been detected or the GPIB board does not support device scan" without a scannable board.
bool ScanForDevices(TDeviceList& list);
