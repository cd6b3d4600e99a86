#include "communication/instrument_scan.h"

#include "communication/communications_tree.h"
#include "communication/device_list.h"
#include "communication/device_settings.h"
#include "communication/holder.h"
#include "model/number_text.h"
#include "platform/ni488_api.h"
#include "platform/ni488_library.h"
#include "scripts/experiment_thread.h"

namespace {

constexpr int ReplySize = 100;
constexpr int OneSecond = 11;  // the NI time-out code of 1 s

}  // namespace

std::string TrimScanReply(const std::string& reply) {
  std::string text = reply.substr(0, reply.find('\0'));
  while (!text.empty()) {
    const unsigned char last = static_cast<unsigned char>(text.back());
    if (last > ' ' && last != 0x7F) break;
    text.pop_back();
  }
  return text;
}

std::string ScanName(const std::string& reply, bool readOk, int address) {
  const std::string name = readOk ? TrimScanReply(reply) : std::string();
  return name.empty() ? "Device" + NumberText::IntToText(address) : name;
}

bool THolderCommunication::SupportsScan() const { return GetCommType() == NAT_GPIB; }

std::vector<THolderCommunication*> ScannableBoards(const TCommunicationsTree& tree) {
  std::vector<THolderCommunication*> boards;
  for (int i = 0; i < tree.GroupCount(); ++i)
    if (tree.GetGroup(i).SupportsScan()) boards.push_back(&tree.GetGroup(i));
  return boards;
}

std::vector<TScanItem> AutoDetectNatDevices(const THolderCommunication& board,
                                            const std::atomic<bool>& cancel,
                                            const TScanProgress& progress) {
  std::vector<TScanItem> items;
  if (board.GetCommType() != NAT_GPIB) return items;
  TNi488Library& ni = TNi488Library::Instance();
  const int number = board.GetAddress();
  ni.Ibsic(number);
  for (int index = 0; index < board.LocationCount() && !cancel.load(); ++index) {
    THolderDevice& location = board.GetLocation(index);
    const int address = location.GetAddress();
    short listener = 0;
    ni.Ibln(number, address, 0, &listener);
    if (listener != 0) {
      std::string reply;
      bool readOk = false;
      const int ud = ni.Ibdev(number, address, 0, OneSecond, 1, 0);
      if (ud >= 0) {
        ni.Ibwrt(ud, "*IDN?", 5);
        char buffer[ReplySize] = {};
        const int ibsta = ni.Ibrd(ud, buffer, ReplySize);
        const long count = TNi488Library::Ibcntl();
        readOk = (ibsta & (niERR | niTIMO)) == 0;
        if (count > 0) reply.assign(buffer, static_cast<std::size_t>(count < ReplySize ? count : ReplySize));
        ni.Ibonl(ud, 0);  // each query's descriptor goes off line at once
      }
      TScanItem item{ScanName(reply, readOk, address) + " at address " +
                         NumberText::IntToText(address),
                     &location};
      items.push_back(item);
      if (progress.Found) progress.Found(item);
    }
    if (progress.Asked) progress.Asked(index + 1);
  }
  ni.Ibonl(number, 0);
  return items;
}

bool AddScannedDevice(TDeviceList& list, THolderDevice& location, const std::string& name) {
  if (location.GetDevice() != nullptr) return false;
  TDeviceSettings settings = NewDeviceSettings();
  settings.Name = name;
  SelectLocation(settings, &location);
  list.AddDeviceFromDialog(settings);
  list.GetCommunicationsTree().Changed();
  UiPort().ExperimentChanged(1, 0);  // the experiment file holds its devices
  return true;
}

bool ScanForDevices(TDeviceList& list) {
  if (IsRunActive()) return false;
  if (ScannableBoards(list.GetCommunicationsTree()).empty()) {
    UiPort().ShowMessage(
        "No GPIB board have been detected or the GPIB board does not support device scan", "",
        TMessageKind::Information);
    return false;
  }
  TScanForDevicesRequest request;
  request.List = &list;
  UiPort().OpenDialog(request);
  return true;
}
