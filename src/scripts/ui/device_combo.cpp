#include "scripts/ui/device_combo.h"

#include <QComboBox>

#include "communication/device.h"
#include "scripts/ui/combo_items.h"

void FillDeviceCombo(QComboBox& box, const std::vector<TDevice*>& devices, TDevice* selected) {
  box.clear();
  for (TDevice* device : devices)
    box.addItem(QString::fromStdString(device->GetDisplayName()), ItemOf(device));
  // A device not listed (its kind changed) leaves nothing selected.
  box.setCurrentIndex(selected ? box.findData(ItemOf(selected)) : -1);
}

TDevice* SelectedDevice(const QComboBox& box) { return SelectedObject<TDevice>(box); }
