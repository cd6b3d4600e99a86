#include "shell/draw_parts.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"

namespace {
// The smallest part record with its type: a line's two identifiers and bend count.
constexpr std::size_t MinPartBytes = 16;
}

// ---- TDrawPart ----

TDrawPart::TDrawPart(TDrawParts* owner) : Pdrawparts(owner) {
  QORV_ASSERT_AS(Pdrawparts != nullptr, "TDrawPart::GetDrawBlockEditor( )!=0");
}

TDrawPart::~TDrawPart() { Pdrawparts->Forget(this); }

bool TDrawPart::CanDropAt(int, int) const { return true; }

void TDrawPart::BringToFront() {
  auto& parts = Pdrawparts->Pdrawparts;
  const auto at = std::find(parts.begin(), parts.end(), this);
  if (at != parts.end()) std::rotate(at, at + 1, parts.end());
}

void TDrawPart::SetSelected(bool selected) {
  if (Selected == selected) return;
  Selected = selected;
  if (selected)
    for (TDrawPart* part : Pdrawparts->Pdrawparts)
      if (part != this) part->Selected = false;
  RedrawEditor();
}

void TDrawPart::SetMultiSelected(bool selected) {
  QORV_ASSERT_AS(CanMultiselect(), "CanMultiselect( )");
  Selected = selected;
}

void TDrawPart::RedrawEditor() const { Pdrawparts->Redraw(); }

// ---- TDrawParts ----

TDrawParts::TDrawParts(TDrawPartsView* view) : Pview(view) {}

TDrawParts::~TDrawParts() {
  // A box deletes its lines, which leave the list by themselves: take one part at a
  // time from the front.
  Pmultiselection.clear();
  while (!Pdrawparts.empty()) {
    TDrawPart* part = Pdrawparts.front();
    Pdrawparts.erase(Pdrawparts.begin());
    delete part;
  }
  QORV_ASSERT_AS(Pdrawparts.empty(), "Pdrawparts->Count==0");
}

void TDrawParts::Redraw() const {
  if (Pview) Pview->Redraw();
}

void TDrawParts::Append(TDrawPart* part) { Pdrawparts.push_back(part); }

void TDrawParts::Forget(TDrawPart* part) {
  std::erase(Pdrawparts, part);
  std::erase(Pmultiselection, part);
}

TDrawBlock* TDrawParts::AddBlock(const std::string& caption, TPoint point) {
  auto* block = new TDrawBlock(this, caption);
  Append(block);
  block->SetPosition(point);
  Redraw();
  return block;
}

TDrawBlock* TDrawParts::AddBlockAtCursor(const std::string& caption) {
  return AddBlock(caption, Pview ? Pview->CursorPoint() : TPoint{});
}

TDrawLine* TDrawParts::Connect(TDrawBlock* block1, TDrawBlock* block2) {
  QORV_ASSERT_AS(block1 != nullptr && block2 != nullptr, "block1!=0&&block2!=0");
  auto* line = new TDrawLine(this, block1, block2);
  Append(line);
  Redraw();
  return line;
}

void TDrawParts::DeletePart(TDrawPart* part) {
  const int index = IndexOf(part);
  QORV_ASSERT_AS(index > -1, "index>-1");
  Pdrawparts.erase(Pdrawparts.begin() + index);
  delete part;
  Redraw();
}

TDrawPart* TDrawParts::GetPart(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Pdrawparts[static_cast<std::size_t>(index)];
}

int TDrawParts::IndexOf(const TDrawPart* part) const {
  const auto at = std::find(Pdrawparts.begin(), Pdrawparts.end(), part);
  return at == Pdrawparts.end() ? -1 : static_cast<int>(at - Pdrawparts.begin());
}

TRect TDrawParts::GetBounds() const {
  if (Pdrawparts.empty()) return TRect{};
  TRect bounds = Pdrawparts.front()->GetRect();
  for (const TDrawPart* part : Pdrawparts) {
    const TRect rect = part->GetRect();
    bounds.Left = std::min(bounds.Left, rect.Left);
    bounds.Top = std::min(bounds.Top, rect.Top);
    bounds.Right = std::max(bounds.Right, rect.Right);
    bounds.Bottom = std::max(bounds.Bottom, rect.Bottom);
  }
  return bounds;
}

void TDrawParts::ToggleMultiSelect(TDrawPart* part) {
  if (!part->CanMultiselect()) return;
  if (Pmultiselection.empty()) {
    const auto selected = std::find_if(Pdrawparts.begin(), Pdrawparts.end(),
        [](const TDrawPart* p) { return p->IsSelected() && p->CanMultiselect(); });
    if (selected != Pdrawparts.end()) Pmultiselection.push_back(*selected);
  }
  const auto at = std::find(Pmultiselection.begin(), Pmultiselection.end(), part);
  if (at == Pmultiselection.end()) {
    Pmultiselection.push_back(part);
    part->SetMultiSelected(true);
  } else {
    part->SetMultiSelected(false);
    Pmultiselection.erase(at);
  }
  Redraw();
}

void TDrawParts::ClearMultiSelection() {
  for (TDrawPart* part : Pmultiselection) part->SetMultiSelected(false);
  Pmultiselection.clear();
  Redraw();
}

void TDrawParts::AlignSelection(int vertical, int horizontal) {
  if (Pmultiselection.size() < 2) {
    UiPort().ShowMessage("Nothing to align", "", TMessageKind::Information);
    return;
  }
  // Only boxes can be multiselected.
  const auto* reference = static_cast<const TDrawBlock*>(Pmultiselection.front());
  const TPoint r = reference->GetPosition();
  const std::int32_t side = reference->GetWidth();
  for (std::size_t i = 1; i < Pmultiselection.size(); ++i) {
    auto* box = static_cast<TDrawBlock*>(Pmultiselection[i]);
    switch (vertical) {
      case 1: box->SetPosition({box->GetPosition().X, r.Y}); break;
      case 2:
        box->SetPosition({box->GetPosition().X,
                          ClampToInt32(std::int64_t{r.Y} + side - box->GetWidth())});
        break;
      case 3: box->SetCenter({box->GetCenter().X, reference->GetCenter().Y}); break;
      default: break;
    }
    switch (horizontal) {
      case 1: box->SetPosition({r.X, box->GetPosition().Y}); break;
      case 2:
        box->SetPosition({ClampToInt32(std::int64_t{r.X} + side - box->GetWidth()),
                          box->GetPosition().Y});
        break;
      case 3: box->SetCenter({reference->GetCenter().X, box->GetCenter().Y}); break;
      default: break;
    }
  }
  Redraw();
}

void TDrawParts::Save(TWriteFile* file) const {
  QORV_ASSERT(file!=0);
  file->WriteInteger(Count());
  for (const TDrawPart* part : Pdrawparts) {
    file->WriteInteger(part->GetType());
    part->Save(file);
  }
}

void TDrawParts::Load(TReadFile* file, std::vector<TDrawBlock*>& blocklist) {
  QORV_ASSERT_AS(file != nullptr, "file!=0&&blocklist!=0");
  std::vector<TDrawPart*> read;  // the parts this load appended, in order
  try {
    ReadParts(file, blocklist, read);
  } catch (const std::exception&) {
    blocklist.clear();
    // Lines first: each detaches itself from its boxes and leaves the list.
    std::stable_partition(read.begin(), read.end(), [](const TDrawPart* part) {
      return part->GetType() == TDrawPart::depLINE;
    });
    for (TDrawPart* part : read) delete part;
    throw EReadError("Error reading drawblocks");
  }
}

void TDrawParts::ReadParts(TReadFile* file, std::vector<TDrawBlock*>& blocklist,
                           std::vector<TDrawPart*>& read) {
  const std::int32_t count = file->ReadCount(MinPartBytes);
  if (count == 0) return;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t type;
    file->ReadInteger(type);
    // A diagram of one part is a single box.
    if (type < 0 || type > TDrawPart::depLINE || (count == 1 && type != TDrawPart::depBLOCK))
      throw EReadError("Error reading drawblocks");
    std::unique_ptr<TDrawPart> part;
    if (type == TDrawPart::depBLOCK) {
      auto box = std::make_unique<TDrawBlock>(this, "nothing");
      blocklist.push_back(box.get());
      part = std::move(box);
    } else {
      part = std::make_unique<TDrawLine>(this, nullptr, nullptr);
    }
    part->Load(file);
    Append(part.get());
    read.push_back(part.release());
  }
  if (count == 1) return;
  if (blocklist.empty()) throw EReadError("Error reading drawblocks");  // lines only
  for (TDrawPart* part : read)
    if (part->GetType() == TDrawPart::depLINE)
      static_cast<TDrawLine*>(part)->ResolveBlocks(blocklist);
}
