// The big-number window's log file (stamps from a fixed and from the real clock); a failed
// write of its record.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "model/errors.h"
#include "scripts/outputs/plot_fixture.h"
#include "support/local_clock.h"

namespace {

class TBigNumFormTest : public TPlotFixture {
protected:
  TBigNumFormTest() {
    TBigNumForm::SetClock([] { return TLogTime{2002, 7, 3, 9, 5, 7, 40}; });
  }
  ~TBigNumFormTest() override { TBigNumForm::SetClock({}); }

  std::string Log() const {
    const TBytes bytes = Temp.ReadBytes("log.txt");
    return std::string(bytes.begin(), bytes.end());
  }

  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "12.5");
  TOutput* Out = Output("B", otBIGNUMBER);
  TPlotScript* Shown = Plot(Out, Y, false);
  TBigNumForm& Big = BigNum(Out);
};

}  // namespace

TEST_F(TBigNumFormTest, LogsStampedLinesOneRunPerFile) {
  EXPECT_EQ(Big.GetStatusText(), "Logging disabled");
  Big.SetLogParameters(Temp.PathOf("log.txt"), true, true, false);
  Big.SetLogging(true);
  EXPECT_EQ(Big.GetStatusText(), "Logging to file " + Temp.PathOf("log.txt"));
  Shown->Execute();
  Shown->Execute();
  Big.EndRun();
  EXPECT_EQ(Log(), "7/3/2002,9:5:7:40,12.5\r\n7/3/2002,9:5:7:40,12.5\r\n");
  // The next run replaces the file; without stamps the line is the shown text.
  Big.SetLogParameters(Temp.PathOf("log.txt"), false, false, false);
  Y->GetValue().SetText("3");
  Shown->Execute();
  Big.EndRun();
  EXPECT_EQ(Log(), "3\r\n");
}

TEST_F(TBigNumFormTest, StampsWithoutATestClockReadTheLocalTime) {
  // The fixed clock of the other cases leaves the system clock's path untried: without
  // it the stamps must lie between local readings taken before and after the line.
  TBigNumForm::SetClock({});
  Big.SetLogParameters(Temp.PathOf("log.txt"), true, true, false);
  Big.SetLogging(true);
  const TLocalReading before = LocalNow();
  Shown->Execute();
  const TLocalReading after = LocalNow();
  Big.EndRun();
  std::string rest;
  ASSERT_TRUE(StampedBetween(Log(), ',', before, after, rest));
  EXPECT_EQ(rest, "12.5\r\n");
}

TEST_F(TBigNumFormTest, CloseBetweenWritesAppendsAtTheSavedPosition) {
  Big.SetLogParameters(Temp.PathOf("log.txt"), false, false, true);
  Big.SetLogging(true);
  Shown->Execute();
  EXPECT_EQ(Log(), "12.5\r\n");  // closed after the line
  Shown->Execute();
  EXPECT_EQ(Log(), "12.5\r\n12.5\r\n");
  Big.ClearBeforeRun();  // a new run starts a new file
  Shown->Execute();
  EXPECT_EQ(Log(), "12.5\r\n");
}

TEST_F(TBigNumFormTest, AFailedLogSwitchesLoggingOff) {
  Big.SetLogParameters(Temp.PathOf("missing/log.txt"), false, false, false);
  Big.SetLogging(true);
  Shown->Execute();
  EXPECT_EQ(Ui.Texts(), (TTexts{"Error Writing to log file, abort writing."}));
  EXPECT_FALSE(Big.IsLogging());
  EXPECT_EQ(Big.GetValue(), "12.5");
}

TEST_F(TBigNumFormTest, AFailedRecordWriteKeepsTheShownValue) {
  Shown->Execute();
  ASSERT_EQ(Big.GetValue(), "12.5");
  // The file may not grow past 1 KiB: the write fails inside the label's long record.
  Big.GetLabel().Font.Name = std::string(64 * 1024, 'F');
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 1024;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool failed = false;
  try {
    TWriteFile writer(Temp.PathOf("b.qve"));
    Out->Write(writer);
    writer.Commit();
  } catch (const EFileError&) {
    failed = true;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_TRUE(failed);
  EXPECT_EQ(Big.GetValue(), "12.5");
}
