// The report's files: RTF that a reader takes back line for line with its styles, the
// escapes of "\", "{", "}", tabs and every character outside printable ASCII, plain
// text, the choice of rich or plain text by the name's ending, and a save that leaves
// the previous file whole when it fails.
#include "shell/report_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/report.h"
#include "support/rtf_reader.h"
#include "support/temp_dir.h"

namespace {

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A report with every style and the characters that RTF must escape.
TReportDocument Sample() {
  TReportDocument report;
  report.AddHeading("Experiment: {run} 7", true);
  report.AddLine("");
  report.AddHeading("Device:\tMeter");
  report.AddHeading("\t\tCommand: SET {\\x} }{ \\par");
  report.AddStyledLine("\t\tReading as ASCII, 10 bytes", {.Italic = true});
  report.AddStyledLine("C:\\data\\r\u00e9sum\u00e9.txt", {.Bold = true, .Italic = true});
  report.AddLine("20 \u00b0C, 5 \u20ac, \uff21, \U0001F600 ok");
  report.AddLine(" leading blank and trailing \\");
  return report;
}

TEST(ReportFileTest, RtfReadsBackLineForLineWithItsStyles) {
  const TReportDocument report = Sample();
  const std::string rtf = ReportRtf(report);
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_EQ(ReadRtf(rtf), report.GetLines());
  // Only printable ASCII, line feeds between paragraphs, in the file itself.
  for (const char c : rtf)
    EXPECT_TRUE((c >= 0x20 && c < 0x7F) || c == '\n') << static_cast<int>(c);

  // The escapes as a reader of RTF expects them.
  EXPECT_NE(rtf.find("SET \\{\\\\x\\} \\}\\{ \\\\par"), std::string::npos);
  EXPECT_NE(rtf.find("\\tab \\tab Command"), std::string::npos);
  EXPECT_NE(rtf.find("r\\u233?sum\\u233?.txt"), std::string::npos);
  EXPECT_NE(rtf.find("5 \\u8364?, \\u-223?, \\u-10179?\\u-8704? ok"), std::string::npos);
  EXPECT_EQ(rtf.find("\\par\\par"), std::string::npos);  // one paragraph mark a line
}

TEST(ReportFileTest, BytesThatAreNoUtf8AndControlCharactersAreKeptAsBytes) {
  TReportDocument report;
  report.AddLine(std::string("a\xff" "b\xc3" "c\x01" "d\xe2\x82", 9));
  report.AddLine(std::string("\xed\xa0\x80" "e\xc0\xaf", 6));  // a surrogate, an overlong "/"
  const std::string rtf = ReportRtf(report);
  EXPECT_NE(rtf.find("a\\'ffb\\'c3c\\'01d\\'e2\\'82\\par"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\'ed\\'a0\\'80e\\'c0\\'af\\par"), std::string::npos) << rtf;
  EXPECT_EQ(ReadRtf(rtf), report.GetLines());
}

TEST(ReportFileTest, AnEmptyReportIsAnEmptyDocument) {
  const TReportDocument empty;
  EXPECT_TRUE(ReadRtf(ReportRtf(empty)).empty());
  EXPECT_EQ(ReportText(empty), "");
}

TEST(ReportFileTest, PlainTextIsTheLinesAsTheyAre) {
  TReportDocument report;
  report.AddHeading("Devices", true);
  report.AddLine("");
  report.AddStyledLine("\t{\\} \u00e9", {.Italic = true});
  EXPECT_EQ(ReportText(report), "Devices\n\n\t{\\} \u00e9\n");
}

TEST(ReportFileTest, RichTextOnlyForNamesEndingInRtf) {
  for (const char* name : {"r.rtf", "R.RTF", "dir.txt/x.Rtf", ".rtf", "/tmp/a b.rTf"})
    EXPECT_TRUE(IsRichTextName(name)) << name;
  for (const char* name : {"x.rtf.txt", "rtf", "x.rtfx", "notes_rtf", "x.rtf ", "x.txt", ""})
    EXPECT_FALSE(IsRichTextName(name)) << name;
}

TEST(ReportFileTest, SavesRichOrPlainByTheName) {
  TTempDir temp;
  const TReportDocument report = Sample();
  for (const char* name : {"r.rtf", "R.RTF"}) {
    SaveReport(report, temp.PathOf(name));
    const std::string saved = FileText(temp.PathOf(name));
    EXPECT_EQ(saved.rfind("{\\rtf", 0), 0u) << name;
    EXPECT_EQ(ReadRtf(saved), report.GetLines()) << name;
  }
  SaveReport(report, temp.PathOf("x.rtf.txt"));
  EXPECT_EQ(FileText(temp.PathOf("x.rtf.txt")), ReportText(report));
  // Saving again replaces the file; no temporary file stays behind.
  TReportDocument shorter;
  shorter.AddLine("one line");
  SaveReport(shorter, temp.PathOf("x.rtf.txt"));
  EXPECT_EQ(FileText(temp.PathOf("x.rtf.txt")), "one line\n");
  EXPECT_EQ(temp.Entries(), 3u);
}

TEST(ReportFileTest, AFailedSaveLeavesThePreviousFileWhole) {
  TTempDir temp;
  const std::string path = temp.PathOf("report.txt");
  SaveReport(Sample(), path);
  const std::string before = FileText(path);
  // The temporary file cannot be made: a folder stands in its place.
  std::filesystem::create_directory(path + ".saving~");
  TReportDocument other;
  other.AddLine("other");
  EXPECT_THROW(SaveReport(other, path), EFileError);
  EXPECT_EQ(FileText(path), before);
  // A folder that does not exist cannot take a report either.
  EXPECT_THROW(SaveReport(other, temp.PathOf("missing/report.rtf")), EFileError);
}

}  // namespace
