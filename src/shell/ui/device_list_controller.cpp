#include "shell/ui/device_list_controller.h"

#include <QAction>
#include <QCursor>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>

#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "model/assertion.h"
#include "scripts/experiment_thread.h"
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
  QAction* scripts = AddItem(Popup, "AddEditDeviceScriptsItem", "Add/Edit Device Commands");
  DeviceCommands = Popup->addMenu("Device Commands...");
  DeviceCommands->setObjectName("DeviceCommandsMenu");
  QMenu* commands = Popup->addMenu("Commands...");
  commands->setObjectName("CommandsMenu");
  QAction* interact = AddItem(Popup, "InteractPopupItem", "Interact");
  QAction* save = AddItem(Popup, "SaveDeviceItem", "Save");
  QAction* saveAs = AddItem(Popup, "SaveAsDeviceItem", "Save As");
  EditItem = AddItem(Popup, "EditDeviceItem", "Edit");
  QAction* remove = AddItem(Popup, "DeleteDeviceItem", "Delete");
  QAction* reset = AddItem(Popup, "ResetItem", "Reset");
  DeviceActions = {scripts, DeviceCommands->menuAction(), commands->menuAction(), interact,
                   save, saveAs, EditItem, remove, reset};
  // Their windows come later.
  for (QAction* later : {NoDeviceActions[3], commands->menuAction(), interact})
    later->setProperty("qorvLater", true);

  connect(NoDeviceActions[0], &QAction::triggered, this, [this] {
    Session.AddDeviceClick();
    ShowList();
  });
  connect(NoDeviceActions[1], &QAction::triggered, this, [this] { Session.OpenDeviceClick(); });
  connect(NoDeviceActions[2], &QAction::triggered, this,
          [this] { Session.OpenDeviceConfigurationClick(); });
  connect(scripts, &QAction::triggered, this, &TDeviceListController::AddEditDeviceScriptsClick);
  connect(save, &QAction::triggered, this, &TDeviceListController::SaveDeviceClick);
  connect(saveAs, &QAction::triggered, this, &TDeviceListController::SaveAsDeviceClick);
  connect(EditItem, &QAction::triggered, this, &TDeviceListController::EditDeviceClick);
  connect(remove, &QAction::triggered, this, &TDeviceListController::DeleteDeviceClick);
  connect(reset, &QAction::triggered, this, &TDeviceListController::ResetClick);
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
}

TDevice* TDeviceListController::SelectedDevice() const {
  QTreeWidgetItem* item = View.currentItem();
  return item && item->isSelected() ? DeviceOfItem(item) : nullptr;
}

void TDeviceListController::ShowList() { ShowDevices(View, Session.GetDeviceList()); }

void TDeviceListController::DevicePopupMenuPopup() {
  TDevice* device = SelectedDevice();
  const bool idle = !IsRunActive();
  for (QAction* action : NoDeviceActions) action->setVisible(!device);
  for (QAction* action : DeviceActions) action->setVisible(device != nullptr);
  for (QAction* action : NoDeviceActions + DeviceActions)
    action->setEnabled(idle && !action->property("qorvLater").toBool());
  EditItem->setEnabled(true);
  DeviceCommands->clear();
  if (!device) return;
  const TCoreDevice& core = device->GetCoreDevice();
  DeviceCommands->menuAction()->setEnabled(idle && core.GetScriptCount() > 0);
  for (int index = 0; index < core.GetScriptCount(); ++index) {
    QAction* item = DeviceCommands->addAction(QString::fromStdString(core.GetScript(index)->GetText()));
    item->setObjectName(QString("DeviceCommandItem%1").arg(index));
    connect(item, &QAction::triggered, this, [this, index] {
      TDevice* chosen = SelectedDevice();
      QORV_ASSERT_AS(chosen!=0, "listitem!=0");
      chosen->AddCommandToBlock(index, Session.GetExperiment());
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
      Popup->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
  } else if (watched == &View && event->type() == QEvent::KeyPress) {
    // Delete only the device the mouse pointer is over, and only outside a run.
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && !IsRunActive()) {
      QTreeWidgetItem* item = View.currentItem();
      const QPoint pointer = View.viewport()->mapFromGlobal(QCursor::pos());
      if (item && item->isSelected() && View.visualItemRect(item).contains(pointer))
        DeleteDeviceClick();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
