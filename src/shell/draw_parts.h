// The block diagram of one experiment: its boxes and lines in drawing order, the
// multiselection, alignment, and the diagram record that experiment files carry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/draw_block.h"
#include "shell/draw_line.h"
#include "shell/draw_part.h"

// What the diagram needs of the editor that shows it.
class TDrawPartsView {
public:
  virtual ~TDrawPartsView() = default;
  // Draws the diagram again.
  virtual void Redraw() = 0;
  // The mouse position in editor coordinates; (0, 0) when the mouse is outside.
  virtual TPoint CursorPoint() const = 0;
};

class TDrawParts {
public:
  // Without a view nothing is redrawn.
  explicit TDrawParts(TDrawPartsView* view = nullptr);
  // Deletes every part; boxes take their blocks with them.
  ~TDrawParts();
  TDrawParts(const TDrawParts&) = delete;
  TDrawParts& operator=(const TDrawParts&) = delete;

  TDrawPartsView* GetView() const { return Pview; }
  void SetView(TDrawPartsView* view) { Pview = view; }
  void Redraw() const;

  // A new box with the caption, its corner at the point.
  TDrawBlock* AddBlock(const std::string& caption, TPoint point);
  // A new box at the mouse position, or at (0, 0) when the mouse is outside.
  TDrawBlock* AddBlockAtCursor(const std::string& caption);
  // A new line from box 1 to box 2; box 1's block takes box 2's as a successor.
  TDrawLine* Connect(TDrawBlock* block1, TDrawBlock* block2);
  // Takes the part out of the diagram and deletes it.
  void DeletePart(TDrawPart* part);
  // None when the index is outside the list.
  TDrawPart* GetPart(int index) const;
  int Count() const { return static_cast<int>(Pdrawparts.size()); }
  int IndexOf(const TDrawPart* part) const;
  // The union of the parts' rectangles; an empty rectangle at the origin without parts.
  TRect GetBounds() const;

  // Adds the part to the multiselection, or takes it out when it is in it; the part
  // selected before joins first.
  void ToggleMultiSelect(TDrawPart* part);
  void ClearMultiSelection();
  bool HasMultiSelection() const { return !Pmultiselection.empty(); }
  const std::vector<TDrawPart*>& GetMultiSelection() const { return Pmultiselection; }
  // Vertical: 0 no change, 1 tops, 2 bottoms, 3 centres; horizontal: 0 no change,
  // 1 left sides, 2 right sides, 3 centres. The first box selected is the reference;
  // "Nothing to align" with fewer than two boxes.
  void AlignSelection(int vertical, int horizontal);

  // The diagram record: int32 count, then each part's int32 type and record.
  void Save(TWriteFile* file) const;
  // Appends the parts of a diagram record and collects its boxes in the list, for the
  // experiment reader to attach the blocks. On any failure the list is emptied, the
  // parts read are deleted and EReadError "Error reading drawblocks" is raised.
  void Load(TReadFile* file, std::vector<TDrawBlock*>& blocklist);

private:
  friend class TDrawPart;
  void Append(TDrawPart* part);
  // Takes the part out of both lists, when it is there.
  void Forget(TDrawPart* part);
  void ReadParts(TReadFile* file, std::vector<TDrawBlock*>& blocklist,
                 std::vector<TDrawPart*>& read);

  std::vector<TDrawPart*> Pmultiselection;  // boxes only, not owned
  std::vector<TDrawPart*> Pdrawparts;       // owned, in drawing order
  TDrawPartsView* Pview;
};
