// The text output window (kind 3): a read-only log to which every plotted value adds a
// line and every plotted array a line per element.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outputs/output_form.h"

class TTextForm : public TOutputForm {
public:
  explicit TTextForm(TOutput* output);
  explicit TTextForm(TDeadOutputList* list);

  std::uint8_t GetOutputType() const override { return 3; }
  void ClearDisplay() override;
  void SetTransferData(TTransferData* data) override;
  bool CanPaste() const override { return true; }
  void ImportData(TTransferData* data) override;
  void ClearOutput() override { ClearDisplay(); }

  const std::vector<std::string>& GetLines() const { return Lines; }
  // Counts the times the lines were replaced or emptied: a view that shows the lines
  // appends only the new ones while this stays the same.
  std::uint64_t GetResetCount() const { return ResetCount; }
  // The whole text: every line followed by CR LF.
  std::string GetText() const;
  // Adds the text's lines after the existing ones (file import, transfer data).
  void AddText(const std::string& text);
  // The control's settings (font, colour); its text is the lines.
  TTextComponent& GetRichEdit() { return RichEdit; }

protected:
  // Name, the text control (with the whole text only in output files), decimal places,
  // number-format kind.
  void WriteRecord(TWriteFile& writer, bool withData) override;
  void ReadRecord(TReadFile& reader, bool withData) override;
  // A line of the value text; a line per element, led by its index with the counter.
  void PlotPoint(TPlotSource* plot, std::vector<std::string>* trace) override;
  void PlotElements(TPlotSource* plot, TVariableData* array,
                    std::vector<std::string>* trace) override;

private:
  void AddLine(const std::string& line, std::vector<std::string>* trace);

  TTextComponent RichEdit{"TRichEdit"};
  std::vector<std::string> Lines;
  std::uint64_t ResetCount = 0;
};
