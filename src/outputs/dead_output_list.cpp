#include "outputs/dead_output_list.h"

#include <algorithm>
#include <stdexcept>

#include "model/assertion.h"
#include "model/number_text.h"
#include "model/ui_port.h"
#include "outputs/output_file.h"
#include "outputs/output_form.h"

namespace {

TDeadOutputList*& MainList() {
  static TDeadOutputList* list = nullptr;
  return list;
}

}  // namespace

TDeadOutputList::TDeadOutputList(TDeadOutputMenu* parent)
    : Pparentitem(parent), BaseCount(parent ? parent->ItemCount() : -1) {
  SetDeadOutputRenameHook([](TDeadOutputList* list, TOutputForm* form) {
    if (list) list->RenameForm(form);
  });
}

TDeadOutputList::~TDeadOutputList() {
  // Each window's display goes with its form; the entries stay for the menu's owner.
  Forms.clear();
  if (MainList() == this) MainList() = nullptr;
}

TOutputForm* TDeadOutputList::OpenOutputFile(const std::string& path) {
  std::unique_ptr<TOutputForm> form;
  try {
    form = LoadOutputFile(path, this);
  } catch (const std::runtime_error&) {
    // A wrong header, version or kind, a damaged body or a file that cannot be opened:
    // the window made so far has gone with the exception.
    UiPort().ShowMessage("Error openning " + path, "", TMessageKind::Error);
    return nullptr;
  }
  TOutputForm* window = form.get();
  AddForm(std::move(form));
  window->ShowOutput();
  return window;
}

void TDeadOutputList::AddForm(std::unique_ptr<TOutputForm> form) {
  QORV_ASSERT(form!=0);
  TOutputForm* window = form.get();
  Forms.push_back(std::move(form));
  if (!Pparentitem) return;
  if (!window->GetView()) Pparentitem->AttachWindow(*window);
  const int position = Pparentitem->ItemCount() + 1;
  Pparentitem->AddEntry("&" + NumberText::IntToText(position) + " " + window->GetName() + "...");
  Pparentitem->SetEnabled(true);
}

void TDeadOutputList::RenameForm(TOutputForm* form) {
  const int index = IndexOf(form);
  if (index < 0 || !Pparentitem) return;
  Pparentitem->SetEntryCaption(BaseCount + index, form->GetName());
}

void TDeadOutputList::BringToFront() {
  for (const auto& form : Forms) form->BringToFront();
}

TDeadOutputEntryState TDeadOutputList::EntryOpened(int position) const {
  TDeadOutputEntryState state;
  if (TOutputForm* form = FormAt(position)) {
    state.ShowChecked = form->IsVisible();
    state.BringToFrontEnabled = state.ShowChecked;
  }
  return state;
}

void TDeadOutputList::ShowClick(int position) {
  TOutputForm* form = FormAt(position);
  if (!form) return;
  if (form->IsVisible())
    form->Hide();
  else
    form->ShowOutput();
}

void TDeadOutputList::BringToFrontClick(int position) {
  if (TOutputForm* form = FormAt(position)) form->BringToFront();
}

void TDeadOutputList::DeleteClick(int position) {
  TOutputForm* form = FormAt(position);
  if (!form) return;
  const auto at = Forms.begin() + IndexOf(form);
  // Out of the list first: the form's destruction closes its window.
  std::unique_ptr<TOutputForm> going = std::move(*at);
  Forms.erase(at);
  going.reset();
  Pparentitem->RemoveEntry(position);
  if (Pparentitem->ItemCount() == 0) Pparentitem->SetEnabled(false);
}

TOutputForm* TDeadOutputList::GetForm(int i) const {
  return i >= 0 && i < Count() ? Forms[static_cast<std::size_t>(i)].get() : nullptr;
}

int TDeadOutputList::IndexOf(const TOutputForm* form) const {
  const auto at = std::find_if(Forms.begin(), Forms.end(),
                               [form](const auto& listed) { return listed.get() == form; });
  return at == Forms.end() ? -1 : static_cast<int>(at - Forms.begin());
}

TOutputForm* TDeadOutputList::FormAt(int position) const {
  if (!Pparentitem) return nullptr;
  return GetForm(position - BaseCount);
}

TDeadOutputList* MainDeadOutputList() { return MainList(); }

void SetMainDeadOutputList(TDeadOutputList* list) { MainList() = list; }
