// The debug window's log: lines kept in order with their formats, views told of every
// change, the clipboard text and a CR LF file written whole or not at all.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include "shell/debug_log.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace {

// Records what a log tells it, as ("add", first, count) or ("clear", 0, 0).
class TRecordingListener : public TDebugLogListener {
public:
  struct TEvent {
    std::string What;
    int First = 0;
    int Count = 0;
    int LogCount = 0;  // the log's line count when told
    bool operator==(const TEvent&) const = default;
  };
  explicit TRecordingListener(const TDebugLog* log = nullptr) : Log(log) {}
  void LinesAdded(int first, int count) override {
    Events.push_back({"add", first, count, Log ? Log->Count() : -1});
  }
  void LogCleared() override { Events.push_back({"clear", 0, 0, Log ? Log->Count() : -1}); }
  const TDebugLog* Log;
  std::vector<TEvent> Events;
};

// Removes itself from the log the first time it is told anything.
class TLeavingListener : public TDebugLogListener {
public:
  explicit TLeavingListener(TDebugLog& log) : Log(log) {}
  void LinesAdded(int, int) override { Leave(); }
  void LogCleared() override { Leave(); }
  void Leave() {
    ++Told;
    Log.RemoveListener(this);
  }
  TDebugLog& Log;
  int Told = 0;
};

std::string Read(const TTempDir& temp, const std::string& name) {
  const TBytes bytes = temp.ReadBytes(name);
  return {bytes.begin(), bytes.end()};
}

}  // namespace

TEST(TDebugLogTest, KeepsLinesInOrderWithTheirColourAndStyle) {
  TDebugLog log;
  EXPECT_TRUE(log.IsEmpty());
  EXPECT_EQ(log.Text(), "");
  EXPECT_EQ(log.Add("Start Block", 0xFF0000, 2), 0);
  EXPECT_EQ(log.Add("Wait 1 s", 0x008000, -1), 1);
  const std::vector<TDebugFormat> trace{{"Slept 1 s", 0, 1}, {"", 0, 1}, {"done", 0, 1}};
  EXPECT_EQ(log.Add(trace), 2);
  EXPECT_EQ(log.Add(std::vector<TDebugFormat>{}), 5);  // none: nothing added
  ASSERT_EQ(log.Count(), 5);
  EXPECT_EQ(log.Line(0).Text, "Start Block");
  EXPECT_EQ(log.Line(0).Colour, 0xFF0000u);
  EXPECT_EQ(log.Line(0).Style, 2);
  EXPECT_EQ(log.Line(1).Colour, 0x008000u);
  EXPECT_EQ(log.Line(1).Style, -1);
  EXPECT_EQ(log.Line(3).Text, "");  // empty trace lines are kept
  EXPECT_EQ(log.Lines()[4].Text, "done");
  EXPECT_EQ(log.Lines()[4].Style, 1);
  // The named formats are the log's colours in 0x00BBGGRR and its font-style indices.
  EXPECT_EQ(DebugCommandColour, 0x008000u);
  EXPECT_EQ(DebugTraceColour, 0x000000u);
  EXPECT_EQ(DebugBlockColour, 0xFF0000u);
  EXPECT_EQ(DebugFinishedColour, 0x800000u);
  EXPECT_EQ(DebugAbortColour, 0x0000FFu);
  EXPECT_EQ((std::vector<int>{DebugStyleNone, DebugStyleBold, DebugStyleItalic,
                              DebugStyleUnderline, DebugStyleStrikeOut}),
            (std::vector<int>{-1, 0, 1, 2, 3}));

  EXPECT_EQ(log.Text(), "Start Block\nWait 1 s\nSlept 1 s\n\ndone\n");
  EXPECT_EQ(log.Text("\r\n"), "Start Block\r\nWait 1 s\r\nSlept 1 s\r\n\r\ndone\r\n");

  log.Clear();
  EXPECT_EQ(log.Count(), 0);
  EXPECT_EQ(log.Text(), "");
  EXPECT_EQ(log.Add("again", 0x0000FF, 0), 0);  // numbering starts over
}

TEST(TDebugLogTest, ListenersAreToldOfEveryChangeAfterItHappened) {
  TDebugLog log;
  TRecordingListener first(&log);
  TRecordingListener second(&log);
  log.AddListener(&first);
  log.AddListener(&first);  // once only
  log.AddListener(&second);
  log.Add("a", 0, -1);
  log.Add({{"b", 0, 1}, {"c", 0, 1}});
  log.Add(std::vector<TDebugFormat>{});  // nothing added, nobody told
  log.Clear();
  log.Clear();  // an empty log's clear is still told: a view may hold stale rows
  log.RemoveListener(&second);
  log.Add("d", 0, -1);
  using E = TRecordingListener::TEvent;
  const std::vector<E> expected{{"add", 0, 1, 1}, {"add", 1, 2, 3}, {"clear", 0, 0, 0},
                                {"clear", 0, 0, 0}, {"add", 0, 1, 1}};
  EXPECT_EQ(first.Events, expected);
  EXPECT_EQ(second.Events, std::vector<E>(expected.begin(), expected.end() - 1));

  // A listener that leaves while it is told does not upset the others.
  TLeavingListener leaving(log);
  TRecordingListener after(&log);
  log.AddListener(&leaving);
  log.AddListener(&after);
  log.Add("e", 0, -1);
  log.Clear();
  EXPECT_EQ(leaving.Told, 1);
  EXPECT_EQ(after.Events, (std::vector<E>{{"add", 1, 1, 2}, {"clear", 0, 0, 0}}));
  log.RemoveListener(&first);
  log.RemoveListener(&after);
  log.RemoveListener(&after);  // not there: nothing happens
}

TEST(TDebugLogTest, SavesEveryLineWithCrLfAndReplacesAnOldFile) {
  TFakeUiPort ui;
  TTempDir temp;
  TDebugLog log;
  log.Add("Start Block", DebugBlockColour, DebugStyleUnderline);
  log.Add("x = 1.5", DebugCommandColour, DebugStyleNone);
  log.Add("Experiment Finished", DebugFinishedColour, DebugStyleBold);
  temp.WriteBytes("debug.txt", TBytes(5000, 'x'));
  EXPECT_TRUE(log.SaveToFile(temp.PathOf("debug.txt")));
  EXPECT_EQ(Read(temp, "debug.txt"), "Start Block\r\nx = 1.5\r\nExperiment Finished\r\n");
  EXPECT_EQ(temp.Entries(), 1u);  // no temporary file left beside it

  // An empty log makes an empty file; an empty name writes nothing.
  TDebugLog empty;
  EXPECT_TRUE(empty.SaveToFile(temp.PathOf("empty.txt")));
  EXPECT_EQ(temp.ReadBytes("empty.txt"), TBytes{});
  EXPECT_FALSE(log.SaveToFile(""));
  EXPECT_EQ(temp.Entries(), 2u);
  EXPECT_TRUE(ui.Texts().empty());
}

TEST(TDebugLogTest, AFailedSaveIsReportedAndKeepsTheOldFile) {
  TFakeUiPort ui;
  TTempDir temp;
  TDebugLog log;
  log.Add("line", 0, -1);
  EXPECT_FALSE(log.SaveToFile(temp.PathOf("missing/debug.txt")));
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Cannot Open File"}));
  EXPECT_EQ(temp.Entries(), 0u);

  // The file may not grow past 1 KiB: the write fails and the file saved before stays.
  ui.Clear();
  temp.WriteBytes("debug.txt", TBytes{'o', 'l', 'd'});
  for (int i = 0; i < 200; ++i) log.Add("a trace line of some length", 0, 1);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 1024;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = log.SaveToFile(temp.PathOf("debug.txt"));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved);
  EXPECT_EQ(Read(temp, "debug.txt"), "old");
  EXPECT_EQ(temp.Entries(), 1u);
  ASSERT_EQ(ui.Texts().size(), 1u);
  EXPECT_EQ(ui.Texts()[0].rfind("Error writing to file: ", 0), 0u) << ui.Texts()[0];
  EXPECT_GT(ui.Texts()[0].size(), std::string("Error writing to file: ").size());
}
