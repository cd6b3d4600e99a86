// The debug window's output log: the lines a debug run writes (each command's text, its
// trace lines, block titles, the end and abort lines, errors), each with its colour and
// font style. The window's list box draws them and follows appends and clears through a
// listener; the log also gives the text for the clipboard and saves itself as a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Colours are 0x00BBGGRR, as everywhere in the core.
inline constexpr std::uint32_t DebugCommandColour = 0x008000;  // a command before it runs: green
inline constexpr std::uint32_t DebugTraceColour = 0x000000;    // its trace lines: black
inline constexpr std::uint32_t DebugBlockColour = 0xFF0000;    // a block's title: blue
inline constexpr std::uint32_t DebugFinishedColour = 0x800000; // "Experiment Finished": navy
inline constexpr std::uint32_t DebugAbortColour = 0x0000FF;    // aborts and errors: red

// Font styles of a line: none, or one font-style index.
inline constexpr std::int8_t DebugStyleNone = -1;
inline constexpr std::int8_t DebugStyleBold = 0;
inline constexpr std::int8_t DebugStyleItalic = 1;
inline constexpr std::int8_t DebugStyleUnderline = 2;
inline constexpr std::int8_t DebugStyleStrikeOut = 3;

// One log line. A style outside 0..3 draws plain.
struct TDebugFormat {
  std::string Text;
  std::uint32_t Colour = DebugTraceColour;
  std::int8_t Style = DebugStyleNone;
};

// Told of every change of a log, after it happened, so that a view can follow.
class TDebugLogListener {
public:
  virtual ~TDebugLogListener() = default;
  // Lines first .. first + count - 1 were appended (count >= 1).
  virtual void LinesAdded(int first, int count) = 0;
  // Every line was removed.
  virtual void LogCleared() = 0;
};

class TDebugLog {
public:
  TDebugLog() = default;
  TDebugLog(const TDebugLog&) = delete;
  TDebugLog& operator=(const TDebugLog&) = delete;

  // Appends one line; answers its index.
  int Add(const std::string& text, std::uint32_t colour, std::int8_t style);
  // Appends the lines as one change (a command's trace lines), so a view can scroll to
  // the first of them; nothing happens for none. Answers the first one's index.
  int Add(const std::vector<TDebugFormat>& lines);
  // Removes every line; listeners are told even when the log was empty.
  void Clear();

  int Count() const { return static_cast<int>(Entries.size()); }
  bool IsEmpty() const { return Entries.empty(); }
  // The line at index, 0 <= index < Count().
  const TDebugFormat& Line(int index) const;
  const std::vector<TDebugFormat>& Lines() const { return Entries; }

  // Every line's text followed by lineEnd: the clipboard's text with "\n", a file's
  // with "\r\n".
  std::string Text(const std::string& lineEnd = "\n") const;

  // Writes the lines with CR LF ends into a temporary file beside path that replaces it
  // only when complete, so a failed save leaves an existing file as it was. A file that
  // cannot be made shows "Cannot Open File", a failed write "Error writing to file: "
  // and the reason, through the UI port. An empty path does nothing. Answers whether the
  // file was written.
  bool SaveToFile(const std::string& path) const;

  // A listener is not owned and must be removed before it goes; adding one twice keeps it
  // once.
  void AddListener(TDebugLogListener* listener);
  void RemoveListener(TDebugLogListener* listener);

private:
  std::vector<TDebugFormat> Entries;
  std::vector<TDebugLogListener*> Listeners;
};
