#include "communication/core_device.h"

#include <algorithm>

#include "communication/communication.h"
#include "communication/read_response.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/write_file.h"

namespace {

void ReadCharacter(TReadFile& reader, std::int32_t& code) {
  reader.ReadInteger(code);
  if (code < 0 || code > 255) throw EReadError(InvalidDeviceRecordText);
}

}  // namespace

// TDeviceScript

TDeviceScript::TDeviceScript(const std::string& command) : Command(command) {}

TDeviceScript::~TDeviceScript() {
  if (Owner) Owner->RemoveScript(this);
}

std::string TDeviceScript::GetText() const {
  std::string text = "Send(" + Command + ")";
  if (PReadResponse) text += "+" + PReadResponse->GetText();
  return text;
}

void TDeviceScript::Describe(TReport& report) const {
  report.AddHeading("\t\tCommand: " + Command);
  if (PReadResponse)
    PReadResponse->Describe(report);
  else
    report.AddLine("\t\t\tResponse: No response.");
}

void TDeviceScript::SetSendEndChars(bool sendEndChars) {
  SendEndChars = PReadResponse ? true : sendEndChars;
}

void TDeviceScript::EnsureResponse() {
  if (PReadResponse) return;
  PReadResponse = std::make_unique<TReadResponse>();
  SendEndChars = true;
}

void TDeviceScript::Save(TWriteFile& writer) const {
  writer.WriteString(Command);
  writer.WriteBool(SendEndChars);
  writer.WriteBool(PReadResponse != nullptr);
  if (PReadResponse) PReadResponse->Save(writer);
}

void TDeviceScript::Load(TReadFile& reader) {
  Command = reader.ReadString();
  reader.ReadBool(SendEndChars);
  bool hasResponse;
  reader.ReadBool(hasResponse);
  PReadResponse.reset();
  if (!hasResponse) return;
  auto response = std::make_unique<TReadResponse>();
  response->SetLeftToRight(true);
  response->SetDelimiter("");
  response->Load(reader);
  PReadResponse = std::move(response);
}

// TCoreDevice

TCoreDevice::TCoreDevice(TImageList* imagelist) : Pimagelist(imagelist) {
  QORV_ASSERT(Pimagelist!=0);
}

TCoreDevice::~TCoreDevice() {
  while (!Scripts.empty()) delete Scripts.back();  // each leaves the list
}

TDeviceScript* TCoreDevice::GetScript(int index) const {
  if (index < 0 || index >= GetScriptCount()) return nullptr;
  return Scripts[static_cast<std::size_t>(index)];
}

TDeviceScript* TCoreDevice::NewScript(const std::string& command) {
  auto* script = new TDeviceScript(command);
  AddScript(script);
  return script;
}

int TCoreDevice::AddScript(TDeviceScript* script) {
  QORV_ASSERT(script!=0);
  if (script->Owner && script->Owner != this) script->Owner->RemoveScript(script);
  script->Owner = this;
  auto found = std::find(Scripts.begin(), Scripts.end(), script);
  if (found == Scripts.end()) found = Scripts.insert(Scripts.end(), script);
  return static_cast<int>(found - Scripts.begin());
}

void TCoreDevice::RemoveScript(TDeviceScript* script) {
  const auto found = std::find(Scripts.begin(), Scripts.end(), script);
  QORV_ASSERT_AS(found!=Scripts.end(), "Pscriptlist->IndexOf(script)>=0");
  Scripts.erase(found);
  script->Owner = nullptr;
}

void TCoreDevice::CopyScriptsTo(std::vector<TDeviceScript*>& list) const {
  list.insert(list.end(), Scripts.begin(), Scripts.end());
}

void TCoreDevice::TakeScripts(std::vector<TDeviceScript*>& list) {
  for (TDeviceScript*& script : list) {
    if (!script) continue;
    AddScript(script);
    script = nullptr;
  }
}

void TCoreDevice::SetIcon(const TIcon* icon) {
  if (!icon) {
    AIconIndex = 0;
    return;
  }
  Pimagelist->push_back(*icon);
  AIconIndex = static_cast<std::int32_t>(Pimagelist->size()) - 1;
}

bool TCoreDevice::GetIcon(TIcon& icon) const {
  if (AIconIndex >= 0 && static_cast<std::size_t>(AIconIndex) < Pimagelist->size())
    icon = (*Pimagelist)[static_cast<std::size_t>(AIconIndex)];
  return AIconIndex == 0;
}

void TCoreDevice::Save(TWriteFile& writer) const {
  writer.WriteString(Name);
  writer.WriteInteger(ASendChar1);
  writer.WriteInteger(ASendChar2);
  writer.WriteInteger(AReadChar1);
  writer.WriteInteger(AReadChar2);
  writer.WriteBool(!Scripts.empty());
  if (!Scripts.empty()) {
    writer.WriteInteger(GetScriptCount());
    for (const TDeviceScript* script : Scripts) script->Save(writer);
  }
  const bool hasIcon = AIconIndex >= 1;
  writer.WriteBool(hasIcon);
  if (hasIcon) {
    QORV_ASSERT(static_cast<std::size_t>(AIconIndex)<Pimagelist->size());
    writer.WriteIcon(&(*Pimagelist)[static_cast<std::size_t>(AIconIndex)]);
  }
}

void TCoreDevice::Load(TReadFile& reader) {
  while (!Scripts.empty()) delete Scripts.back();
  Name = reader.ReadString();
  ReadCharacter(reader, ASendChar1);
  ReadCharacter(reader, ASendChar2);
  ReadCharacter(reader, AReadChar1);
  ReadCharacter(reader, AReadChar2);
  bool hasScripts;
  reader.ReadBool(hasScripts);
  if (hasScripts) {
    // A command record takes at least its text's count and two flags.
    const std::int32_t count = reader.ReadCount(6);
    for (std::int32_t i = 0; i < count; ++i) NewScript("none")->Load(reader);
  }
  bool hasIcon;
  reader.ReadBool(hasIcon);
  AIconIndex = 0;
  if (hasIcon) {
    TIcon icon;
    reader.ReadIcon(&icon);
    SetIcon(&icon);
  }
}

std::string TCoreDevice::CharacterText(std::int32_t code) {
  switch (code) {
    case 0: return "None";
    case 10: return "\\n";
    case 13: return "\\r";
    default: return "0x" + HexDigits(static_cast<std::uint32_t>(code), 3);
  }
}

void TCoreDevice::DescribeCoreDevice(TReport& report, int eoi, bool withCommands) const {
  if (eoi == 0) report.AddLine("\t\tEOI: No");
  if (eoi == 1) report.AddLine("\t\tEOI: Yes");
  report.AddLine("\t\tFirst character to append to each Send string:\t" +
                 CharacterText(ASendChar1));
  report.AddLine("\t\tSecond character to append to each Send string:\t" +
                 CharacterText(ASendChar2));
  report.AddLine("\t\tFirst character to end read:\t" + CharacterText(AReadChar1));
  report.AddLine("\t\tSecond character to end read:\t" + CharacterText(AReadChar2));
  if (!withCommands) return;
  report.AddLine("");
  report.AddHeading("\tDevice Commands");
  report.AddLine("");
  if (Scripts.empty()) report.AddLine("No device commands");
  for (const TDeviceScript* script : Scripts) script->Describe(report);
  report.AddLine("");
}
