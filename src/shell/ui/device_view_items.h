// The device list (DeviceView, columns "Device" and "Communication") shows the
// experiment's devices, one row each, as the core describes them.
#pragma once

class QTreeWidget;
class QTreeWidgetItem;
class TDevice;
class TDeviceList;

// Shows the list again; the device selected before stays selected.
void ShowDevices(QTreeWidget& view, const TDeviceList& devices);
// The device of a row (none for none).
TDevice* DeviceOfItem(const QTreeWidgetItem* item);
