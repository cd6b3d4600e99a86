// The Clear Device Buffer command against the simulated GPIB bus and a serial
// instrument: nothing waiting, 950 bytes, 2500 bytes with the question (asked on the main
// thread while the worker waits) answered Yes, No or Cancel, the trace lines, comment-out,
// a command without device, and its record.
#include "scripts/device/clear_device_buffer_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "scripts/device/device_fixture.h"
#include "scripts/device/send_script.h"

namespace {

std::string Question(int total) {
  return "Zyq has already read " + std::to_string(total) + " bytes.\r" +
         "Do you wish to continue reading (Yes), move on to the rest of the experiment(No) or\r" +
         "or abort the experiment(Cancel)";
}

class ClearDeviceBufferTest : public TDeviceFixture {
protected:
  // B1 sends the query (none when empty), then clears the device's buffer.
  TClearDeviceBufferScript* Clear(const std::string& query, TDevice* device = nullptr) {
    device = device ? device : Scope;
    while (TScript* command = B1->GetFirstScript()) delete command;
    if (!query.empty()) Make<TSendScript>()->SetUpSend(device, query, true, nullptr, 0, -1, false);
    auto* clear = Make<TClearDeviceBufferScript>();
    clear->SetDevice(device);
    Sim.ClearLog();
    return clear;
  }
  int Reads() const {
    const auto log = Sim.Log();
    return int(std::count_if(log.begin(), log.end(),
                             [](const std::string& line) { return line.rfind("ibrd ", 0) == 0; }));
  }
};

TEST_F(ClearDeviceBufferTest, ReadsPiecesOf100UntilNothingComesAskingEvery1000Bytes) {
  EXPECT_EQ(Clear("")->AExpNode->GetText(), "Clear Read Buffer: Scope");
  EXPECT_EQ(Trace(B1), TTexts{"Cleared 0 bytes from read buffer of Scope"});
  EXPECT_EQ(Reads(), 1);
  Clear("SOME?");
  EXPECT_EQ(Trace(B1, TScript::SEND), TTexts{"Cleared 950 bytes from read buffer of Scope"});
  EXPECT_EQ(Reads(), 11);  // 9 of 100 bytes, 50 bytes, nothing
  Clear("SOME?");
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});  // nothing asked
  const int handOvers = Ui.HandOvers();               // the run's own

  Clear("LOTS?");
  Ui.ScriptAnswers({mbYes, mbYes});
  EXPECT_EQ(RunB1(), (TTexts{Question(1000), Question(2000), "Experiment Complete"}));
  EXPECT_EQ(Reads(), 26);                        // 25 of 100 bytes, then nothing
  EXPECT_EQ(Ui.HandOvers(), handOvers + 2);      // each question on the main thread
  const TFakeUiPort::TShown shown = Ui.Shown().front();
  EXPECT_EQ(shown.Caption, "Qorv Warning");
  EXPECT_EQ(shown.Kind, TMessageKind::Warning);
  EXPECT_EQ(shown.Buttons, TMessageButtons(mbYes | mbNo | mbCancel));
  Clear("LOTS?");
  Ui.ScriptAnswers({mbYes, mbYes});
  EXPECT_EQ(Trace(B1, TScript::SEND),
            (TTexts{"Cleared 1000 from read buffer of Scope",
                    "Cleared 2000 from read buffer of Scope",
                    "Cleared 2500 bytes from read buffer of Scope"}));
  // No leaves the rest unread; Cancel ends the run.
  Clear("LOTS?");
  Ui.ScriptAnswers({mbNo});
  EXPECT_EQ(Trace(B1, TScript::SEND), TTexts{"Skipping rest of bytes fromScope"});
  EXPECT_EQ(Reads(), 10);
  Clear("LOTS?");
  Ui.ScriptAnswers({mbYes, mbCancel});
  EXPECT_EQ(RunB1(), (TTexts{Question(1000), Question(2000), "User aborted Clear Device."}));
  TClearDeviceBufferScript* clear = Clear("LOTS?");
  Ui.ScriptAnswers({mbCancel});
  Prepare(B1);
  TraceOf(B1->GetFirstScript());
  TTexts trace;
  EXPECT_EQ(ErrorOf([&] { clear->ExecuteTrace(trace); }), "User aborted Clear Device.");
  EXPECT_EQ(trace, TTexts{"Aborting experiment on Clear Buffer"});
}

TEST_F(ClearDeviceBufferTest, SerialInstrumentsCommentOutNoDeviceAndTheRecord) {
  PumpPort().SetTimeOut(200000);
  Clear("", Pump);
  EXPECT_EQ(Trace(B1), TTexts{"Cleared 0 bytes from read buffer of Pump"});  // opens the port
  Instrument.Emit(std::string(950, 'x'));
  ASSERT_TRUE(PumpPort().IsOpen());
  ASSERT_TRUE(WaitForPending(*PumpPort().GetPort(), 950));  // all there before the clear
  EXPECT_EQ(Trace(B1), TTexts{"Cleared 950 bytes from read buffer of Pump"});

  TClearDeviceBufferScript* clear = Clear("SOME?");
  clear->SetCommentedOut(true);
  for (TDevice* device : {Scope, static_cast<TDevice*>(nullptr)}) {
    clear->SetDevice(device);
    EXPECT_EQ(Trace(B1, TScript::SEND), TTexts{});
    EXPECT_EQ(clear->Execute(), nullptr);
    EXPECT_EQ(Reads(), 0);
    clear->SetCommentedOut(false);
  }
  EXPECT_EQ(clear->GetText(), "Clear Nothing");
  // The record is the base record; the device section binds the command to its device.
  clear->SetCommentedOut(true);
  const TBytes record = Cat({I32(100), B(true)});
  EXPECT_EQ(Written({clear}), record);
  auto* read = ReadOne<TClearDeviceBufferScript>(record);
  EXPECT_TRUE(read->AbCommentedOut);
}

}  // namespace
