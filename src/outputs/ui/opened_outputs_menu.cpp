#include "outputs/ui/opened_outputs_menu.h"

#include <QAction>
#include <QMenu>

#include "outputs/ui/output_window_kinds.h"

TOpenedOutputsMenu::TOpenedOutputsMenu(QMenu& parent) : Parent(parent) {
  DeadList = std::make_unique<TDeadOutputList>(static_cast<TDeadOutputMenu*>(this));
  SetEnabled(ItemCount() > 0);
}

TOpenedOutputsMenu::~TOpenedOutputsMenu() {
  DeadList.reset();
  const QList<QAction*> items = Parent.actions();
  for (QAction* item : items)
    if (QMenu* entry = item->menu(); entry && entry->property("qorvOpenedOutput").toBool())
      RemoveEntry(Parent.actions().indexOf(item));
}

QMenu* TOpenedOutputsMenu::Entry(int position) const {
  const QList<QAction*> items = Parent.actions();
  return position >= 0 && position < items.size() ? items[position]->menu() : nullptr;
}

int TOpenedOutputsMenu::ItemCount() const { return static_cast<int>(Parent.actions().size()); }

void TOpenedOutputsMenu::AddEntry(const std::string& caption) {
  QMenu* entry = Parent.addMenu(QString::fromStdString(caption));
  entry->setProperty("qorvOpenedOutput", true);
  QAction* show = entry->addAction("&Show");
  show->setObjectName("ShowOpenedOutput");
  show->setCheckable(true);
  QAction* front = entry->addAction("&Bring To Front");
  front->setObjectName("BringOpenedOutputToFront");
  QAction* remove = entry->addAction("&Delete");
  remove->setObjectName("DeleteOpenedOutput");
  connect(entry, &QMenu::aboutToShow, this, [this, entry, show, front] {
    const TDeadOutputEntryState state = DeadList->EntryOpened(PositionOf(entry));
    show->setChecked(state.ShowChecked);
    front->setEnabled(state.BringToFrontEnabled);
  });
  // The list decides from the window itself, not from the check mark the click toggled.
  connect(show, &QAction::triggered, this,
          [this, entry] { DeadList->ShowClick(PositionOf(entry)); });
  connect(front, &QAction::triggered, this,
          [this, entry] { DeadList->BringToFrontClick(PositionOf(entry)); });
  connect(remove, &QAction::triggered, this,
          [this, entry] { DeadList->DeleteClick(PositionOf(entry)); });
}

void TOpenedOutputsMenu::SetEntryCaption(int position, const std::string& caption) {
  if (QMenu* entry = Entry(position)) entry->setTitle(QString::fromStdString(caption));
}

void TOpenedOutputsMenu::RemoveEntry(int position) {
  QMenu* entry = Entry(position);
  if (!entry) return;
  Parent.removeAction(entry->menuAction());
  // The entry's own item may be the one whose click is being served.
  entry->deleteLater();
}

void TOpenedOutputsMenu::SetEnabled(bool enabled) {
  // The parent menu draws the item from the submenu's action: set both.
  Parent.setEnabled(enabled);
  Parent.menuAction()->setEnabled(enabled);
}

void TOpenedOutputsMenu::AttachWindow(TOutputForm& form) { MakeOutputWindow(form); }

int TOpenedOutputsMenu::PositionOf(const QMenu* entry) const {
  return static_cast<int>(Parent.actions().indexOf(entry->menuAction()));
}
