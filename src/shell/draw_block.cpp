#include "shell/draw_block.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "shell/draw_line.h"
#include "shell/draw_parts.h"

TDrawBlock::TDrawBlock(TDrawParts* owner, const std::string& caption)
    : TDrawPart(owner), Caption(caption) {}

TDrawBlock::~TDrawBlock() {
  DeleteLines();
  if (ABlock) {
    TBlock* block = ABlock;
    ABlock = nullptr;
    block->ClearDrawBlock();
    delete block;
  }
}

void TDrawBlock::DeleteLines() {
  // Each line takes itself out of this list (and out of the diagram) as it goes.
  while (!Plinelist.empty()) delete Plinelist.back();
}

void TDrawBlock::StartDrag(int x, int y) {
  StartVector = {ClampToInt32(std::int64_t{x} - X), ClampToInt32(std::int64_t{y} - Y)};
  QORV_ASSERT_AS(StartVector.X >= 0 && StartVector.Y >= 0,
                 "_startvector.x>=0&&_startvector.y>=0");
}

void TDrawBlock::EndDrag(int x, int y, bool accepted) {
  if (accepted) {
    X = ClampToInt32(std::int64_t{x} - StartVector.X);
    Y = ClampToInt32(std::int64_t{y} - StartVector.Y);
    StartVector = {-1, -1};
    BringToFront();
  }
  RedrawEditor();
}

bool TDrawBlock::Contains(int x, int y) const {
  const TRect rect = GetRect();
  return Rendered && rect.Left <= x && x <= rect.Right && rect.Top <= y && y <= rect.Bottom;
}

TRect TDrawBlock::GetRect() const {
  return {X, Y, ClampToInt32(std::int64_t{X} + Width), ClampToInt32(std::int64_t{Y} + Height)};
}

void TDrawBlock::Save(TWriteFile* file) const {
  QORV_ASSERT_AS(ABlock != nullptr, "ABlock!=0");
  file->WriteString(Caption);
  file->WriteBool(!IconFile.empty());
  if (!IconFile.empty()) file->WriteString(IconFile);
  file->WriteInteger(X);
  file->WriteInteger(Y);
  file->WriteInteger(file->GetObjectId(ABlock));
}

void TDrawBlock::Load(TReadFile* file) {
  QORV_ASSERT_AS(Pblockid == -1, "Pblockid==-1");
  Caption = file->ReadString();
  bool hasIcon;
  file->ReadBool(hasIcon);
  IconFile = hasIcon ? file->ReadString() : std::string();
  file->ReadInteger(X);
  file->ReadInteger(Y);
  file->ReadInteger(Pblockid);
  if (Pblockid < 0) throw EReadError("Error reading block");
}

bool TDrawBlock::SetBlock(TBlock* block) {
  QORV_ASSERT_AS(ABlock == nullptr, "ABlock==0");
  if (Pblockid >= 0 && Pblockid != block->ReadBlockID()) return false;
  ABlock = block;
  Pblockid = -1;
  Rendered = true;  // the editor gives the rendered size when it draws the box
  return true;
}

void TDrawBlock::RemoveBlock() {
  DeleteLines();
  ABlock = nullptr;
}

void TDrawBlock::SetBlockPaths() {
  for (const TDrawLine* line : Plinelist)
    if (line->GetBlock1() == this && ABlock && line->GetBlock2() &&
        line->GetBlock2()->ABlock)
      ABlock->AddNextBlock(line->GetBlock2()->ABlock);
}

bool TDrawBlock::CanAddOutgoingLine() const {
  return std::count_if(Plinelist.begin(), Plinelist.end(),
                       [this](const TDrawLine* line) { return line->GetBlock1() == this; }) < 2;
}

bool TDrawBlock::CheckPaths() const {
  QORV_ASSERT_AS(GetDrawParts() != nullptr && ABlock != nullptr, "Pdrawparts!=0&&ABlock!=0");
  if (ABlock->IsStartBlock()) return true;
  for (const TDrawLine* line : Plinelist)
    if (line->GetBlock2() == this) return true;
  UiPort().ShowMessage("Error: Block " + ABlock->GetTitle() + " has no paths to it.", "",
                       TMessageKind::Warning);
  return false;
}

void TDrawBlock::AddLine(TDrawLine* line) {
  Plinelist.push_back(line);
  if (line->GetBlock1() == this && ABlock && line->GetBlock2() && line->GetBlock2()->ABlock)
    ABlock->CreateDecisionScript(line->GetBlock2()->ABlock);
}

void TDrawBlock::RemoveLine(TDrawLine* line) {
  QORV_ASSERT_AS(line != nullptr && !Plinelist.empty(), "line!=0&&Plinelist!=0");
  const auto at = std::find(Plinelist.begin(), Plinelist.end(), line);
  QORV_ASSERT_AS(at != Plinelist.end(), "index >-1");
  Plinelist.erase(at);
  if (line->GetBlock1() == this && ABlock && line->GetBlock2() && line->GetBlock2()->ABlock)
    ABlock->RemoveNextBlock(line->GetBlock2()->ABlock);
}

void TDrawBlock::SetTitle(const std::string& caption) {
  Caption = caption;
  if (!ABlock) return;
  RedrawEditor();
  ABlock->SetTitle(caption);
}

void TDrawBlock::SetIconFile(const std::string& fileName) {
  std::error_code error;
  IconFile = !fileName.empty() && std::filesystem::is_regular_file(fileName, error)
                 ? fileName
                 : std::string();
}

void TDrawBlock::Refresh(bool repaint) {
  if (repaint) RedrawEditor();
}

void TDrawBlock::SetSize(std::int32_t width, std::int32_t height) {
  Width = width;
  Height = height;
  Rendered = true;
}

std::int32_t TDrawBlock::RenderedSide(std::int32_t iconWidth, std::int32_t iconHeight,
                                      std::int32_t textWidth, std::int32_t textHeight,
                                      bool startBlock) {
  std::int32_t side = std::max(std::max(iconWidth, textWidth) + 10, textHeight + iconHeight + 15);
  if (side < 51) side = DefaultSide;
  if (side % 2 != 0) ++side;
  return startBlock ? side + 10 : side;
}

TPoint TDrawBlock::GetCenter() const {
  if (!Rendered) return {};
  return {ClampToInt32(std::int64_t{X} + Width / 2), ClampToInt32(std::int64_t{Y} + Height / 2)};
}

void TDrawBlock::SetCenter(TPoint point) {
  const std::int64_t x = std::int64_t{point.X} - Width / 2;
  const std::int64_t y = std::int64_t{point.Y} - Height / 2;
  if (x >= 0 && y >= 0) X = ClampToInt32(x), Y = ClampToInt32(y);
}
