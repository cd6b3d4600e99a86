// What the tests of the device commands share: an experiment with three devices, Meter
// (CEC board 0, address 5) and Scope (NI board 0, address 7) on the simulated GPIB bus,
// both sending CR LF, and Pump on COM1, a simulated serial instrument, sending CR; all
// read up to LF. Commands are made on new nodes of a block as their dialogs make them.
#pragma once

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/nat_gpib.h"
#include "communication/rs232.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"
#include "support/serial_instrument.h"

class TDeviceFixture : public TCommandFixture {
protected:
  // SOME? answers 95 values of 9 digits, 94 commas and LF: 950 bytes; LOTS? 2500 bytes.
  static constexpr const char* Bus = R"(
cec-board 0
ni-board 0
instrument cec 0 5
  status 0xC1
  idn ACME,DMM,0,2.0
  reply CURVE? = binary int16 be 1000 -1000 300
instrument ni 0 7
  status 0xC1
  idn ACME,SCOPE,0,1.0
  reply VOLT? = text +12.5E+2 V
  reply BIG? = text 9999999999
  reply CURVE? = numbers 5 ; counter 1 1
  reply BLANKS? = numbers 3 \s counter 7 1
  reply WAVE? = binary int16 le 1 -1 300
  reply SLOW? = partial 4 +1.250E+00
  reply QUIET? = silent
  reply SOME? = numbers 95 , constant 123456789
  reply LOTS? = numbers 250 , constant 123456789
)";

  TDevice* NewDevice(const std::string& name, std::unique_ptr<TCommunication> communication,
                     int term1, int term2) {
    TDevice* device = Devices.NewDevice();
    TCoreDevice& core = device->GetCoreDevice();
    core.SetName(name);
    core.SetSendChar1(term1);
    core.SetSendChar2(term2);
    core.SetReadChar1(10);
    device->SetCommunication(std::move(communication));
    device->UpdateListItem();
    return device;
  }
  // A new command of the class at the end of the block (B1 by default).
  template <class T>
  T* Make(TBlock* block = nullptr) {
    block = block ? block : B1;
    return new T(block, NewNode(block));
  }
  // Whether a line of the bus's call log contains the text.
  bool Logged(const std::string& text) const {
    const std::vector<std::string> log = Sim.Log();
    return std::any_of(log.begin(), log.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
  }
  std::string CecReceived() const { return Sim.Received(TGpibSim::kCEC, 0, 5); }
  std::string NiReceived() const { return Sim.Received(TGpibSim::kNI, 0, 7); }
  // What Pump's instrument received once at least the bytes came (2 s at most).
  std::string PumpReceived(std::size_t bytes) const {
    EXPECT_TRUE(Instrument.WaitForBytes(bytes, std::chrono::seconds(2)));
    return Instrument.Received();
  }
  TRS232& PumpPort() { return static_cast<TRS232&>(*Pump->GetCommunication()); }

  TGpibSim Sim{Bus};
  TSerialInstrument Instrument{0};
  TDeviceList Devices{&Exp};  // goes first, with the commands that use its devices
  TDevice* Meter = NewDevice("Meter", std::make_unique<TCECGPIB>(0, 5, nullptr), 13, 10);
  TDevice* Scope = NewDevice("Scope", std::make_unique<TNATGPIB>(0, 7, nullptr), 13, 10);
  TDevice* Pump = NewDevice("Pump", std::make_unique<TRS232>(nullptr, 0), 13, 0);
};
