// The device list of the main window (DeviceView): a double click edits the device, a
// right-button press selects the row under the mouse and the pop-up offers the device
// commands, the Delete key deletes the device under the mouse; the device tool bar and
// the file menus' device items reach the same commands. Which items show and are enabled
// is the core's device list decision (device_list_editing.h). Interact opens the console,
// Scan For Devices the instrument scan; the items of "Commands..." open the command
// dialogs for the selected device.
#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QTreeWidget;
class TDevice;
class TDocumentSession;

class TDeviceListController final : public QObject {
  Q_OBJECT

public:
  TDeviceListController(QTreeWidget& view, TDocumentSession& session);
  ~TDeviceListController() override;

  // Wires the window's device actions, found by their names: the device tool bar's
  // buttons and the "New", "Open" and "Save" menus' device items.
  void BindActions(QObject& window);

  QMenu* PopupMenu() const { return Popup; }
  // The device of the selected row; none without one.
  TDevice* SelectedDevice() const;

  // The pop-up's items as it opens: the device items with a selection, the others
  // without; everything but "Edit" and "Add/Edit Device Commands" only while no run is
  // active; "Device Commands..." with one item per command of the device; the items of
  // "Commands..." by the device's kind ("Send GPIB" and "Serial Poll" for GPIB, "Send
  // RS232" for the others).
  void DevicePopupMenuPopup();
  void EditDeviceClick();
  void DeleteDeviceClick();
  // The console on every device, the selected one (none: the first) current.
  void InteractClick();
  // The scan dialog; the list shows the devices it made.
  void ScanClick();
  void SaveDeviceClick();
  void SaveAsDeviceClick();
  void AddEditDeviceScriptsClick();
  void ResetClick();
  void RemoveAllDevicesClick();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ShowList();
  QAction* AddItem(QMenu* menu, const char* name, const char* text);

  QTreeWidget& View;
  TDocumentSession& Session;
  QMenu* Popup = nullptr;
  QList<QAction*> NoDeviceActions;
  QAction* AddEditScriptsItem = nullptr;
  QMenu* DeviceCommands = nullptr;
  QMenu* Commands = nullptr;
  QList<QAction*> CommandItems;  // in the order of DeviceCommandKinds
  QAction* InteractItem = nullptr;
  QAction* SaveItem = nullptr;
  QAction* SaveAsItem = nullptr;
  QAction* EditItem = nullptr;
  QAction* DeleteItem = nullptr;
  QAction* ResetItem = nullptr;
};
