#include "communication/holder.h"

#include <exception>

#include "communication/cec_gpib.h"
#include "communication/device.h"
#include "communication/nat_gpib.h"
#include "communication/rs232.h"
#include "model/assertion.h"
#include "platform/cec_library.h"
#include "platform/ni488_library.h"
#include "platform/serial_port.h"
#include "platform/serial_ports.h"

namespace {

// The CEC board query that answers the selected board's number.
constexpr int BoardNumberQuery = 204;

bool SerialPortPresent(int index) {
  const std::string path = SerialPortPath(index);
  if (path.empty()) return false;
  try {
    TSerialPort port(path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool CecBoardPresent(int board) {
  try {
    TCecLibrary& library = TCecLibrary::Instance();
    if ((library.Presence() & 0xFF) == 0) return false;
    const auto bus = library.LockBus();
    library.SelectBoard(board);
    return library.BoardQuery(BoardNumberQuery) == board;
  } catch (const std::exception&) {
    return false;  // no library: no board
  }
}

bool NatBoardPresent(int board) {
  TNi488Library& library = TNi488Library::Instance();
  const int descriptor = library.Ibfind(("GPIB" + std::to_string(board)).c_str());
  library.Ibonl(descriptor, 0);
  return descriptor > -1;
}

}  // namespace

// THolderDevice

THolderDevice::THolderDevice(THolderCommunication& parent, int address)
    : THolder(parent.GetCommType(), address), Parent(parent) {}

THolderDevice::~THolderDevice() {
  if (ADevice) ADevice->ForgetHolder(this);
}

std::string THolderDevice::FreeText() const {
  if (GetCommType() == RS232) return "COM " + std::to_string(GetAddress() + 1);
  return "GPIB Address " + std::to_string(GetAddress());
}

std::string THolderDevice::GetText() const {
  if (!ADevice) return FreeText();
  return (Current ? "Current location of " : "IN USE BY: ") + ADevice->GetName();
}

std::unique_ptr<TCommunication> THolderDevice::MakeCommunication(
    const TCommunication* previous) const {
  switch (GetCommType()) {
    case RS232: return std::make_unique<TRS232>(previous, GetAddress());
    case CEC_GPIB: return std::make_unique<TCECGPIB>(GetBoard(), GetAddress(), previous);
    case NAT_GPIB: return std::make_unique<TNATGPIB>(GetBoard(), GetAddress(), previous);
  }
  QORV_ASSERT_AS(false, "ACommType>=0&&ACommType<=2");
  return nullptr;
}

bool THolderDevice::Matches(const TCommunication& communication) const {
  if (communication.GetType() != GetCommType()) return false;
  if (GetCommType() == RS232) return communication.GetBoardAddress() == GetAddress();
  return communication.GetBoardAddress() == GetBoard() &&
         communication.GetDeviceAddress() == GetAddress();
}

void THolderDevice::AssignDevice(TDevice* device) {
  ADevice = device;
  if (!device) Current = false;
}

void THolderDevice::SetCurrentLocation(bool current) {
  QORV_ASSERT(ADevice!=0);
  Current = current;
}

int THolderDevice::GetBoard() const { return Parent.GetAddress(); }

// THolderCommunication

THolderCommunication::THolderCommunication(TCommType kind, int board) : THolder(kind, board) {}

THolderCommunication::~THolderCommunication() = default;

std::string THolderCommunication::GetText() const {
  switch (GetCommType()) {
    case RS232: return "RS232";
    case CEC_GPIB: return "CEC_GPIB" + std::to_string(GetAddress());
    case NAT_GPIB: return "NATIONAL_GPIB" + std::to_string(GetAddress());
  }
  return {};
}

THolderDevice& THolderCommunication::AddLocation(int address) {
  Locations.push_back(std::make_unique<THolderDevice>(*this, address));
  return *Locations.back();
}

bool THolderCommunication::ProbePort(TCommType kind, int number) {
  switch (kind) {
    case RS232: return SerialPortPresent(number);
    case CEC_GPIB: return CecBoardPresent(number);
    case NAT_GPIB: return NatBoardPresent(number);
  }
  QORV_ASSERT_AS(false, "ACommType>=0&&ACommType<=2");
  return false;
}
