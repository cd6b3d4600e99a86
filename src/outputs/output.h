// An output of the experiment: an attribute naming one output window (text, table,
// graph or big number) with its channels and the Plot commands that write to it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/exp_attribute.h"
#include "model/ui_port.h"

class TOutput;
class TOutputForm;
class TOutputList;
class TPlotUser;

// Output kinds (one byte in documents).
enum TOutputType : std::uint8_t {
  otTEXT = 3,
  otTABLE = 4,
  otGRAPH = 5,
  otBIGNUMBER = 6,
  otNOTDEFINED = 255,  // an output being read
};

// The most channels an output has.
constexpr std::int32_t MaxChannels = 25;

// The controls of the Add Output dialog that a refused entry gives the focus to.
enum class TOutputField { None, Title, Channels };

// The Add Output dialog. Execute mode (List none) edits Output, or asks for a new
// output when Output is none; the answers are read back after OK. Add-several mode
// (List set): each Add calls AddOutputEntry, which adds an output to List; OK answers
// the last entries, which the list adds. OK and Add check the entries with
// CheckOutputEntry (output_entry.h). Answers 1 for OK.
struct TOutputDialogRequest : TDialogRequest {
  TOutput* Output = nullptr;
  TOutputList* List = nullptr;
  // Shown, and read back after OK.
  std::uint8_t Kind = otTEXT;
  std::string Title;
  std::int32_t Channels = 1;
  // The channel box's text, which the check turns into Channels.
  std::string ChannelText;
  TOutputField Focus = TOutputField::None;  // set by a refusal
};

class TOutput : public TExpAttribute {
public:
  // An output of the kind with its channels (1 for text and big number); no window.
  TOutput(const std::string& name, TTreeNode* node, std::uint8_t outputType = otGRAPH,
          std::int32_t channels = 1);
  // An output about to be read: kind otNOTDEFINED, 1 channel, no node images.
  struct TForReading {};
  TOutput(const std::string& name, TTreeNode* node, TForReading);
  // Deletes the window, then the base lets go of the users.
  ~TOutput() override;

  // The base's, then (unless being read) the window is made when missing and a Plot
  // command joins the plot list.
  int AddUser(TVariable* reference) override;
  // The base's; the user's command leaves the plot list.
  void RemoveUser(TVariable* reference) override;
  // The dialog; then a kind change, the name, fewer channels and the window's channels.
  int Edit() override;
  // The base's, then the window's.
  void SetName(const std::string& name) override;
  TAttributeType GetAttributeType() const override { return OUTPUT; }

  // The window, made on first use on the main thread (its channels and name set).
  TOutputForm* GetOutputForm();
  bool HasOutputForm() const { return Poutputform != nullptr; }
  void ShowOutputForm();
  void HideOutputForm();
  bool IsFormVisible() const;
  // The window goes off-line: graph and table go on with a copy of it, text and big
  // number without a window. Answers the released window.
  std::unique_ptr<TOutputForm> ReleaseForm();

  // The command's position in the plot list; -1 when absent.
  std::int32_t GetPlotIndexOf(const TPlotUser* command) const;
  const std::vector<TPlotUser*>& GetPlotList() const { return PlotList; }

  // True when no Plot command would lose its channel with n channels; otherwise the
  // user is asked (OK, Cancel) with the commands listed.
  bool ConfirmFewerChannels(std::int32_t n);
  // True when the kind stays or every user accepts it; otherwise the user chooses to
  // delete the commands (Yes, done here) or to abort (No: false).
  bool ConfirmTypeChange(std::uint8_t kind);
  // What Edit does after the dialog and the type check: the new kind (window replaced,
  // data carried, Plot commands told), the name, fewer channels, the window's channels.
  void ApplyEdit(std::uint8_t kind, const std::string& name, std::int32_t channels);

  // The output record of experiment and block files.
  void Write(TWriteFile& writer);
  // Reads the record into an output made for reading. EReadError for a damaged record.
  void Read(TReadFile& reader);

  std::uint8_t Poutputtype;
  std::int32_t NumberOfChannels;  // 1 to 25

private:
  void SetKind(std::uint8_t kind);
  void JoinPlotList(TVariable* reference);

  std::uint8_t AbReserved = 0;
  std::unique_ptr<TOutputForm> Poutputform;
  std::vector<TPlotUser*> PlotList;
};
