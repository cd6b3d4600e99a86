// A box of the block diagram: the drawn form of one block of the experiment. Its lines
// carry the block's successor links, so adding and removing a line sets and clears them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/draw_part.h"

class TBlock;
class TDrawLine;

class TDrawBlock : public TDrawPart {
public:
  // The side a box has while no size was given to it.
  static constexpr std::int32_t DefaultSide = 50;

  TDrawBlock(TDrawParts* owner, const std::string& caption);
  // Deletes the box's lines; an attached block forgets the box and is deleted with it.
  ~TDrawBlock() override;

  void StartDrag(int x, int y) override;
  void EndDrag(int x, int y, bool accepted) override;
  // Bounds included; a box not yet rendered contains nothing.
  bool Contains(int x, int y) const override;
  bool CanMultiselect() const override { return true; }
  // Caption, icon file when there is one, x, y and the writer's identifier of the block.
  void Save(TWriteFile* file) const override;
  void Load(TReadFile* file) override;
  int GetType() const override { return depBLOCK; }
  TRect GetRect() const override;

  // Attaches the block when the box was read with no identifier or with the block's
  // own; answers whether it attached. The box must have no block yet.
  bool SetBlock(TBlock* block);
  TBlock* GetBlock() const { return ABlock; }
  // Deletes the box's lines and forgets the block; the block is then deleting the box.
  void RemoveBlock();
  // The block's successors from the outgoing lines, after a load.
  void SetBlockPaths();
  // A box has at most two successors.
  bool CanAddOutgoingLine() const;
  // The run check: the start block or a block some line reaches passes; any other
  // shows "Error: Block <title> has no paths to it." and fails.
  bool CheckPaths() const;

  void AddLine(TDrawLine* line);
  void RemoveLine(TDrawLine* line);
  const std::vector<TDrawLine*>& GetLines() const { return Plinelist; }

  // The caption; an attached block takes it as its title and the box is redrawn.
  void SetTitle(const std::string& caption);
  const std::string& GetCaption() const { return Caption; }
  // Keeps the name only when it names an existing file; else the default icon.
  void SetIconFile(const std::string& fileName);
  const std::string& GetIconFile() const { return IconFile; }
  // After a change of the block's kind (start flag): redraws when asked.
  void Refresh(bool repaint);
  // The identifier read from a file; -1 when none.
  std::int32_t GetBlockID() const { return Pblockid; }

  // The editor renders the box and gives it the rendered size; until then the box is
  // DefaultSide square and, not being rendered, has no centre and contains nothing.
  void SetSize(std::int32_t width, std::int32_t height);
  bool IsRendered() const { return Rendered; }
  std::int32_t GetWidth() const { return Width; }
  std::int32_t GetHeight() const { return Height; }
  // The side of the rendered box for an icon and a caption of the given sizes: the
  // larger of icon or text width + 10 and text + icon height + 15, 50 at least, even,
  // and 10 more for the start block.
  static std::int32_t RenderedSide(std::int32_t iconWidth, std::int32_t iconHeight,
                                   std::int32_t textWidth, std::int32_t textHeight,
                                   bool startBlock);

  TPoint GetPosition() const { return {X, Y}; }
  void SetPosition(TPoint point) { X = point.X, Y = point.Y; }
  // (0, 0) for a box not yet rendered.
  TPoint GetCenter() const;
  // Moves the box only when its corner stays at 0 or more.
  void SetCenter(TPoint point);

private:
  void DeleteLines();

  TBlock* ABlock = nullptr;
  std::string IconFile;
  std::int32_t Pblockid = -1;
  std::int32_t X = 1;
  std::int32_t Y = 1;
  TPoint StartVector{-1, -1};  // the mouse's offset from the corner during a drag
  std::string Caption;
  std::vector<TDrawLine*> Plinelist;  // incoming and outgoing
  std::int32_t Width = DefaultSide;
  std::int32_t Height = DefaultSide;
  bool Rendered = false;
};
