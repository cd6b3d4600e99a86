// The contract's shared parts: the device dialog's time-out display, the millisecond
// text, the bus-command words, and how the GPIB classes take over each other's time-out
// and EOI flag.
#include <gtest/gtest.h>

#include <cstdint>

#include "communication/cec_gpib.h"
#include "communication/nat_gpib.h"

namespace {

TEST(CommunicationTest, TimeOutDisplayInMillisecondsOrSeconds) {
  bool seconds = true;
  EXPECT_EQ(TCommunication::TimeOutToDisplay(0, seconds), 0);
  EXPECT_FALSE(seconds);
  EXPECT_EQ(TCommunication::TimeOutToDisplay(999, seconds), 1);
  EXPECT_FALSE(seconds);
  EXPECT_EQ(TCommunication::TimeOutToDisplay(1500000, seconds), 1);
  EXPECT_TRUE(seconds);
  EXPECT_EQ(TCommunication::TimeOutFromDisplay(2, true), 2000000);
  EXPECT_EQ(TCommunication::TimeOutFromDisplay(250, false), 250000);
  EXPECT_EQ(TCommunication::TimeOutFromDisplay(5000000, true), std::int64_t{5000000000000});
  EXPECT_EQ(TCommunication::MillisecondTimeOutText(0), "None");
  EXPECT_EQ(TCommunication::MillisecondTimeOutText(999), "999 milliseconds");
  EXPECT_EQ(TCommunication::MillisecondTimeOutText(2500), "2 seconds");
  EXPECT_EQ(TGPIB::BusCommandText(TGPIB::busIFC | TGPIB::busGTL), "GTL IFC");
  EXPECT_EQ(TGPIB::BusCommandText(31), "REN GTL DCL IFC LLO");
}

TEST(CommunicationTest, GpibClassesTakeOverEachOthersTimeOutAndEoi) {
  TCECGPIB cec(0, 3, nullptr);
  EXPECT_EQ(cec.GetTimeOut(), 10000000);
  cec.SetEOI(false);
  TNATGPIB natDefault(0, 2, nullptr);
  EXPECT_EQ(natDefault.GetTimeOutCode(), 11);
  EXPECT_TRUE(natDefault.GetEOI());
  // 10 s on CEC is the 10 s code; the EOI flag comes along, the addresses do not.
  TNATGPIB natFromCec(1, 4, &cec);
  EXPECT_EQ(natFromCec.GetTimeOutCode(), 13);
  EXPECT_FALSE(natFromCec.GetEOI());
  EXPECT_EQ(natFromCec.GetDeviceAddress(), 4);

  // Sub-millisecond NI time-outs become 1 ms on CEC; "none" stays none.
  TNATGPIB nat(0, 5, nullptr);
  nat.SetTimeOut(10);
  TCECGPIB cecFromNat(0, 6, &nat);
  EXPECT_EQ(cecFromNat.GetTimeOut(), 1000);
  EXPECT_TRUE(cecFromNat.GetEOI());
  nat.SetTimeOut(0);
  EXPECT_FALSE(cecFromNat.AssignFrom(nat));
  EXPECT_EQ(cecFromNat.GetTimeOut(), 0);
  nat.SetTimeOut(1000000000);
  EXPECT_FALSE(cecFromNat.AssignFrom(nat));
  EXPECT_EQ(cecFromNat.GetTimeOut(), 1000000000);

  // The same class gives only its time-out.
  EXPECT_TRUE(cec.AssignFrom(cecFromNat));
  EXPECT_EQ(cec.GetTimeOut(), 1000000000);
  EXPECT_FALSE(cec.GetEOI());
  EXPECT_TRUE(natDefault.AssignFrom(nat));
  EXPECT_EQ(natDefault.GetTimeOutCode(), 17);
  EXPECT_FALSE(natDefault.AssignFrom(TCECGPIB(0, 7, nullptr)));
  EXPECT_EQ(natDefault.GetTimeOutCode(), 13);
}

}  // namespace
