// The nodes of the communications tree: a port group or GPIB board that is present on
// this machine (THolderCommunication), and under it each location where a device can be
// placed (THolderDevice): a COM port or a GPIB primary address. A location knows the
// device it holds and makes the communication of a device placed on it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "communication/communication.h"

class TDevice;
class THolderCommunication;

class THolder {
public:
  virtual ~THolder() = default;
  THolder(const THolder&) = delete;
  THolder& operator=(const THolder&) = delete;

  virtual bool IsDevice() const = 0;
  // The node's text.
  virtual std::string GetText() const = 0;
  TCommType GetCommType() const { return ACommType; }
  // A group: the board number (-1 for the serial ports); a location: the port index
  // 0..8 or the GPIB address 1..29.
  int GetAddress() const { return AAddress; }

protected:
  THolder(TCommType kind, int address) : ACommType(kind), AAddress(address) {}

private:
  const TCommType ACommType;
  const int AAddress;
};

// One location. It does not own its device; a device placed on it points back to it
// (TDevice::SetHolder) and releases it when it goes.
class THolderDevice final : public THolder {
public:
  THolderDevice(THolderCommunication& parent, int address);
  // A device still placed here loses its location.
  ~THolderDevice() override;

  bool IsDevice() const override { return true; }
  // "GPIB Address 5" or "COM 3" while free, "IN USE BY: " + the device's name while a
  // device holds it, "Current location of " + the name while that device is edited.
  std::string GetText() const override;
  // The text of the location while free.
  std::string FreeText() const;

  // A new communication for this location that takes over the time-out (and, between
  // GPIB classes, the EOI flag) of previous, when given.
  std::unique_ptr<TCommunication> MakeCommunication(const TCommunication* previous) const;
  // The communication reaches this location: same kind and board and address (GPIB),
  // or same port index (RS-232).
  bool Matches(const TCommunication& communication) const;

  // Keeps the device (none: the location is free again, and no longer current).
  void AssignDevice(TDevice* device);
  TDevice* GetDevice() const { return ADevice; }
  // Marks the location as that of the device being edited (a device must be assigned).
  void SetCurrentLocation(bool current);
  bool IsCurrentLocation() const { return Current; }

  THolderCommunication& GetParent() const { return Parent; }
  // The board of the parent node (-1 for the serial ports).
  int GetBoard() const;

private:
  THolderCommunication& Parent;
  TDevice* ADevice = nullptr;
  bool Current = false;
};

// A serial-port group or a GPIB board, with its locations in order.
class THolderCommunication final : public THolder {
public:
  // kind RS232 with board -1, or a GPIB kind with the board number.
  THolderCommunication(TCommType kind, int board);
  ~THolderCommunication() override;

  bool IsDevice() const override { return false; }
  // "RS232", "CEC_GPIB" + board or "NATIONAL_GPIB" + board.
  std::string GetText() const override;

  // Appends a location (a port index or a GPIB address).
  THolderDevice& AddLocation(int address);
  int LocationCount() const { return static_cast<int>(Locations.size()); }
  THolderDevice& GetLocation(int index) const { return *Locations.at(index); }

  // Whether the port (RS-232: the port index) or the board (GPIB: the board number) is
  // present on this machine. A missing library or port is simply not present.
  static bool ProbePort(TCommType kind, int number);
  // Whether the instrument scan can find instruments here: NI boards only (a CEC board's
  // scan never finds any, so it is not offered). (instrument_scan.cpp)
  bool SupportsScan() const;

private:
  std::vector<std::unique_ptr<THolderDevice>> Locations;
};
