// The main window's detached-output list with its menu ("&Opened Outputs"): each listed
// window is an entry of the menu with the sub-items "&Show" (checked while the window is
// visible), "&Bring To Front" (enabled only then) and "&Delete". Windows opened from a
// file get their Qt window here.
#pragma once

#include <QObject>

#include <memory>
#include <string>

#include "outputs/dead_output_list.h"

class QMenu;

class TOpenedOutputsMenu final : public QObject, private TDeadOutputMenu {
  Q_OBJECT

public:
  // Makes the list over the menu, which is disabled while it holds no item.
  explicit TOpenedOutputsMenu(QMenu& parent);
  // Deletes the list with its windows, then the entries.
  ~TOpenedOutputsMenu() override;

  TDeadOutputList& List() { return *DeadList; }
  // The submenu of an entry by its position among the menu's items; none for another.
  QMenu* Entry(int position) const;

private:
  // TDeadOutputMenu
  int ItemCount() const override;
  void AddEntry(const std::string& caption) override;
  void SetEntryCaption(int position, const std::string& caption) override;
  void RemoveEntry(int position) override;
  void SetEnabled(bool enabled) override;
  void AttachWindow(TOutputForm& form) override;

  // The entry's position now (entries before it may have gone).
  int PositionOf(const QMenu* entry) const;

  QMenu& Parent;
  std::unique_ptr<TDeadOutputList> DeadList;
};
