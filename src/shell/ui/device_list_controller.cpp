#include "shell/ui/device_list_controller.h"

#include <QAction>
#include <QCursor>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>

#include "communication/console.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/instrument_scan.h"
#include "model/assertion.h"
#include "scripts/experiment_thread.h"
#include "shell/device_list_editing.h"
#include "shell/document_session.h"
#include "shell/ui/device_view_items.h"

TDeviceListController::TDeviceListController(QTreeWidget& view, TDocumentSession& session)
    : View(view), Session(session) {
  Popup = new QMenu(&View);
  Popup->setObjectName("DevicePopupMenu");
  NoDeviceActions = {
      AddItem(Popup, "AddDevicePopupItem", "Add Device"),
      AddItem(Popup, "OpenDevicePopupItem", "Open Device"),
      AddItem(Popup, "OpenDeviceConfigurationPopupItem", "Open Device Configuration"),
      AddItem(Popup, "ScanPopupItem", "Scan For Devices"),
  };
  AddEditScriptsItem = AddItem(Popup, "AddEditDeviceScriptsItem", "Add/Edit Device Commands");
  DeviceCommands = Popup->addMenu("Device Commands...");
  DeviceCommands->setObjectName("DeviceCommandsMenu");
  Commands = Popup->addMenu("Commands...");
  Commands->setObjectName("CommandsMenu");
  // The add-command items of the selected device, each enabled for the devices it serves.
  for (const TDeviceCommandKind& kind : DeviceCommandKinds) {
    QString name = QString::fromUtf8(kind.Caption);
    name.remove(' ');
    CommandItems.push_back(AddItem(Commands, (name + "Item").toUtf8().constData(), kind.Caption));
  }
  InteractItem = AddItem(Popup, "InteractPopupItem", "Interact");
  SaveItem = AddItem(Popup, "SaveDeviceItem", "Save");
  SaveAsItem = AddItem(Popup, "SaveAsDeviceItem", "Save As");
  EditItem = AddItem(Popup, "EditDeviceItem", "Edit");
  DeleteItem = AddItem(Popup, "DeleteDeviceItem", "Delete");
  ResetItem = AddItem(Popup, "ResetItem", "Reset");
  // The command dialogs come later.
  Commands->menuAction()->setProperty("qorvLater", true);

  connect(NoDeviceActions[0], &QAction::triggered, this, [this] {
    Session.AddDeviceClick();
    ShowList();
  });
  connect(NoDeviceActions[1], &QAction::triggered, this, [this] { Session.OpenDeviceClick(); });
  connect(NoDeviceActions[2], &QAction::triggered, this,
          [this] { Session.OpenDeviceConfigurationClick(); });
  connect(NoDeviceActions[3], &QAction::triggered, this, &TDeviceListController::ScanClick);
  connect(InteractItem, &QAction::triggered, this, &TDeviceListController::InteractClick);
  connect(AddEditScriptsItem, &QAction::triggered, this,
          &TDeviceListController::AddEditDeviceScriptsClick);
  connect(SaveItem, &QAction::triggered, this, &TDeviceListController::SaveDeviceClick);
  connect(SaveAsItem, &QAction::triggered, this, &TDeviceListController::SaveAsDeviceClick);
  connect(EditItem, &QAction::triggered, this, &TDeviceListController::EditDeviceClick);
  connect(DeleteItem, &QAction::triggered, this, &TDeviceListController::DeleteDeviceClick);
  connect(ResetItem, &QAction::triggered, this, &TDeviceListController::ResetClick);
  connect(Popup, &QMenu::aboutToShow, this, &TDeviceListController::DevicePopupMenuPopup);

  View.setContextMenuPolicy(Qt::DefaultContextMenu);
  View.installEventFilter(this);
  View.viewport()->installEventFilter(this);
}

TDeviceListController::~TDeviceListController() = default;

QAction* TDeviceListController::AddItem(QMenu* menu, const char* name, const char* text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  return action;
}

void TDeviceListController::BindActions(QObject& window) {
  const auto bind = [&](const char* name, auto handler) {
    if (auto* action = window.findChild<QAction*>(name))
      connect(action, &QAction::triggered, this, handler);
  };
  for (const char* name : {"AddDeviceButton", "NewDeviceMenuItem"})
    bind(name, [this] {
      Session.AddDeviceClick();
      ShowList();
    });
  for (const char* name : {"OpenDeviceButton", "OpenDeviceMenuItem"})
    bind(name, [this] { Session.OpenDeviceClick(); });
  for (const char* name : {"OpenDeviceConfigurationButton", "OpenDeviceConfigurationMenuItem"})
    bind(name, [this] { Session.OpenDeviceConfigurationClick(); });
  for (const char* name : {"SaveDeviceConfigurationButton", "SaveDeviceConfigurationMenuItem"})
    bind(name, [this] { Session.SaveDeviceConfigurationClick(); });
  bind("RemoveAllDevicesBtn", [this] { RemoveAllDevicesClick(); });
  for (const char* name : {"InteractButton", "InteractMenuItem"})
    bind(name, [this] { InteractClick(); });
  for (const char* name : {"SearchButton", "ScanMenuItem"}) bind(name, [this] { ScanClick(); });
}

TDevice* TDeviceListController::SelectedDevice() const {
  QTreeWidgetItem* item = View.currentItem();
  return item && item->isSelected() ? DeviceOfItem(item) : nullptr;
}

void TDeviceListController::ShowList() { ShowDevices(View, Session.GetDeviceList()); }

void TDeviceListController::DevicePopupMenuPopup() {
  TDevice* device = SelectedDevice();
  const TDeviceMenuState state = ::DevicePopupMenuPopup(device);
  const auto apply = [](QAction* item, const TMenuItemState& itemState) {
    item->setVisible(itemState.Visible);
    item->setEnabled(itemState.Enabled && !item->property("qorvLater").toBool());
  };
  for (QAction* item : NoDeviceActions) apply(item, state.NoDeviceAction);
  apply(AddEditScriptsItem, state.AddEditCommands);
  apply(DeviceCommands->menuAction(), state.DeviceCommands);
  apply(Commands->menuAction(), state.Commands);
  apply(InteractItem, state.Interact);
  apply(SaveItem, state.Save);
  apply(SaveAsItem, state.SaveAs);
  apply(EditItem, state.Edit);
  apply(DeleteItem, state.Delete);
  apply(ResetItem, state.Reset);
  for (qsizetype index = 0; index < CommandItems.size(); ++index)
    CommandItems[index]->setEnabled(state.CommandEnabled[static_cast<std::size_t>(index)]);

  // One item per command of the device, made afresh each time.
  DeviceCommands->clear();
  for (std::size_t index = 0; index < state.DeviceCommandCaptions.size(); ++index) {
    QAction* item =
        DeviceCommands->addAction(QString::fromStdString(state.DeviceCommandCaptions[index]));
    item->setObjectName(QString("DeviceCommandItem%1").arg(index));
    connect(item, &QAction::triggered, this, [this, index] {
      TDevice* chosen = SelectedDevice();
      QORV_ASSERT_AS(chosen!=0, "listitem!=0");
      chosen->AddCommandToBlock(static_cast<int>(index), Session.GetExperiment());
    });
  }
}

void TDeviceListController::EditDeviceClick() {
  TDevice* device = SelectedDevice();
  QORV_ASSERT_AS(device!=0, "item!=0&&item->Data!=0");
  device->Edit();
  ShowList();
}

void TDeviceListController::DeleteDeviceClick() {
  TDevice* device = SelectedDevice();
  QORV_ASSERT_AS(device!=0, "item!=0&&item->Data!=0");
  if (IsRunActive()) return;
  Session.GetDeviceList().DeleteDevice(device);
  ShowList();
}

void TDeviceListController::InteractClick() {
  // Refused during a run (the items are disabled then too).
  Interact(Session.GetDeviceList(), SelectedDevice());
}

void TDeviceListController::ScanClick() {
  if (ScanForDevices(Session.GetDeviceList())) ShowList();
}

void TDeviceListController::SaveDeviceClick() {
  if (TDevice* device = SelectedDevice()) Session.SaveDeviceClick(*device);
}

void TDeviceListController::SaveAsDeviceClick() {
  if (TDevice* device = SelectedDevice()) Session.SaveAsDeviceClick(*device);
}

void TDeviceListController::AddEditDeviceScriptsClick() {
  if (TDevice* device = SelectedDevice()) device->EditCommands();
}

void TDeviceListController::ResetClick() {
  // Refused during a run (the item is disabled then, too).
  if (TDevice* device = SelectedDevice()) device->Reset();
}

void TDeviceListController::RemoveAllDevicesClick() {
  if (IsRunActive()) return;
  Session.GetDeviceList().ClearDevices(true);
  ShowList();
}

bool TDeviceListController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == View.viewport()) {
    if (event->type() == QEvent::MouseButtonDblClick) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (QTreeWidgetItem* item = View.itemAt(mouse->position().toPoint())) {
        View.setCurrentItem(item);
        EditDeviceClick();
        return true;
      }
    } else if (event->type() == QEvent::MouseButtonPress) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton) {
        QTreeWidgetItem* item = View.itemAt(mouse->position().toPoint());
        if (item)
          View.setCurrentItem(item);
        else
          View.clearSelection();
      }
    } else if (event->type() == QEvent::ContextMenu) {
      // Shown without waiting for a choice, as the trees' pop-ups are.
      Popup->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
  } else if (watched == &View && event->type() == QEvent::KeyPress) {
    // Delete only the device the mouse pointer is over, and only outside a run.
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
      QTreeWidgetItem* item = View.currentItem();
      const QPoint pointer = View.viewport()->mapFromGlobal(QCursor::pos());
      const bool selected = item && item->isSelected();
      if (DeviceKeyDeletes(selected, selected && View.visualItemRect(item).contains(pointer)))
        DeleteDeviceClick();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
