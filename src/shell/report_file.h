// The experiment report as a file or clipboard text: rich text (RTF) or plain text.
#pragma once

#include <string>

class TReportDocument;

// The report as RTF: one paragraph per line, in its style; "\", "{" and "}" escaped,
// tabs as \tab, other characters outside printable ASCII as \uN? (UTF-8 decoded) or,
// for bytes that are no UTF-8, as \'hh.
std::string ReportRtf(const TReportDocument& report);

// The report as plain text: each line followed by a line feed.
std::string ReportText(const TReportDocument& report);

// True when the file name ends in ".rtf", in any case: such a file is saved as rich
// text, any other as plain text.
bool IsRichTextName(const std::string& path);

// Saves the report, rich or plain by the name. The text goes to a temporary file that
// replaces the file only when complete; EFileError when it cannot be written.
void SaveReport(const TReportDocument& report, const std::string& path);
