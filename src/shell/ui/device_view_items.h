// The device list (DeviceView, columns "Device" and "Communication") shows the
// experiment's devices, one row each, as the core describes them.
#pragma once

class QTreeWidget;
class TDeviceList;

void ShowDevices(QTreeWidget& view, const TDeviceList& devices);
