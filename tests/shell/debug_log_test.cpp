// The debug window's log: lines in order with their formats, views told of every change,
// the clipboard text, and a CR LF file written whole or not at all.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

#include "shell/debug_log.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace {

// Records "+first,count" for appends and "clear" for clears, with the log's count then.
class TRecordingListener : public TDebugLogListener {
public:
  explicit TRecordingListener(const TDebugLog& log) : Log(log) {}
  void LinesAdded(int first, int count) override {
    Events.push_back("+" + std::to_string(first) + "," + std::to_string(count) + "/" +
                     std::to_string(Log.Count()));
  }
  void LogCleared() override { Events.push_back("clear/" + std::to_string(Log.Count())); }
  const TDebugLog& Log;
  std::vector<std::string> Events;
};

}  // namespace

TEST(TDebugLogTest, KeepsStyledLinesAndTellsListenersAfterEachChange) {
  TDebugLog log;
  TRecordingListener view(log);
  log.AddListener(&view);
  log.AddListener(&view);  // kept once
  EXPECT_EQ(log.Add("Start Block", DebugBlockColour, DebugStyleUnderline), 0);
  EXPECT_EQ(log.Add({{"Slept 1 s", 0, 1}, {"", 0, 1}}), 1);
  log.Add(std::vector<TDebugFormat>{});  // nothing added, nobody told
  ASSERT_EQ(log.Count(), 3);
  EXPECT_EQ(log.Line(0).Colour, 0xFF0000u);  // blue in 0x00BBGGRR
  EXPECT_EQ(log.Line(0).Style, 2);
  EXPECT_EQ(log.Line(2).Text, "");  // empty trace lines are kept
  EXPECT_EQ(log.Text(), "Start Block\nSlept 1 s\n\n");
  log.Clear();
  log.Clear();  // told even when empty: a view may hold stale rows
  log.RemoveListener(&view);
  EXPECT_EQ(log.Add("again", DebugAbortColour, DebugStyleBold), 0);
  EXPECT_EQ(view.Events, (std::vector<std::string>{"+0,1/1", "+1,2/3", "clear/0", "clear/0"}));
}

TEST(TDebugLogTest, SavesCrLfLinesAndAFailedSaveKeepsTheOldFile) {
  TFakeUiPort ui;
  TTempDir temp;
  TDebugLog log;
  log.Add("Start Block", DebugBlockColour, DebugStyleUnderline);
  log.Add("Experiment Finished", DebugFinishedColour, DebugStyleBold);
  temp.WriteBytes("debug.txt", TBytes(5000, 'x'));
  EXPECT_TRUE(log.SaveToFile(temp.PathOf("debug.txt")));
  const TBytes saved = temp.ReadBytes("debug.txt");
  EXPECT_EQ(std::string(saved.begin(), saved.end()), "Start Block\r\nExperiment Finished\r\n");
  EXPECT_EQ(temp.Entries(), 1u);  // no temporary file left beside it
  EXPECT_FALSE(log.SaveToFile(temp.PathOf("missing/debug.txt")));
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Cannot Open File"}));

  // The file may not grow past 1 KiB: the write fails and the file saved before stays.
  ui.Clear();
  for (int i = 0; i < 200; ++i) log.Add("a trace line of some length", 0, 1);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 1024;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = log.SaveToFile(temp.PathOf("debug.txt"));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(temp.ReadBytes("debug.txt"), saved);
  EXPECT_EQ(temp.Entries(), 1u);
  ASSERT_EQ(ui.Texts().size(), 1u);
  EXPECT_EQ(ui.Texts()[0].rfind("Error writing to file: ", 0), 0u) << ui.Texts()[0];
}
