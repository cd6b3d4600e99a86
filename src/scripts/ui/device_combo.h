// The device list of a device command's dialog: the offered devices by display name,
// each item holding its device.
#pragma once

#include <vector>

class QComboBox;
class TDevice;

// Fills the box with the devices and selects the device's entry; none selected when the
// device is none or not listed (a command whose device changed kind).
void FillDeviceCombo(QComboBox& box, const std::vector<TDevice*>& devices, TDevice* selected);
// The device of the selected entry; none without a selection.
TDevice* SelectedDevice(const QComboBox& box);
