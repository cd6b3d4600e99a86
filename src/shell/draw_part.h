// A drawn part of the block diagram: a box or a line. Coordinates are the editor's, in
// pixels, y growing downwards. The core keeps the parts' data and geometry; drawing them
// is the editor's.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

class TDrawParts;
class TReadFile;
class TWriteFile;

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Left and top inclusive; an empty rectangle has Right <= Left or Bottom <= Top.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// Coordinates come from files too: sums of them are formed in 64 bits and brought back
// into range, so no position read can overflow.
inline std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()));
}

class TDrawPart {
public:
  // What GetType answers.
  static constexpr int depBLOCK = 0;
  static constexpr int depLINE = 1;

  explicit TDrawPart(TDrawParts* owner);
  // Leaves the owner's parts list and its multiselection when it is in them.
  virtual ~TDrawPart();
  TDrawPart(const TDrawPart&) = delete;
  TDrawPart& operator=(const TDrawPart&) = delete;

  // Dragging with the mouse: the press, then the release (accepted when dropped at a
  // place CanDropAt allows).
  virtual void StartDrag(int x, int y) = 0;
  virtual void EndDrag(int x, int y, bool accepted) = 0;
  virtual bool Contains(int x, int y) const = 0;
  virtual bool CanDropAt(int x, int y) const;
  virtual bool CanMultiselect() const = 0;
  virtual void Save(TWriteFile* file) const = 0;
  virtual void Load(TReadFile* file) = 0;
  virtual int GetType() const = 0;
  virtual TRect GetRect() const = 0;

  TDrawParts* GetDrawParts() const { return Pdrawparts; }
  bool IsSelected() const { return Selected; }
  // Moves the part to the end of the parts list, where it is drawn last (topmost).
  void BringToFront();
  // The one selected part: setting the flag clears every other part's; redraws.
  void SetSelected(bool selected);
  // One part of a multiselection: sets this part's flag only, without redrawing.
  void SetMultiSelected(bool selected);
  void RedrawEditor() const;

private:
  bool Selected = false;
  TDrawParts* Pdrawparts;
};
