#include "scripts/ui/device_combo.h"

#include <QComboBox>

#include "communication/device.h"

void FillDeviceCombo(QComboBox& box, const std::vector<TDevice*>& devices, TDevice* selected) {
  box.clear();
  for (TDevice* device : devices)
    box.addItem(QString::fromStdString(device->GetDisplayName()),
                QVariant::fromValue(reinterpret_cast<quintptr>(device)));
  box.setCurrentIndex(-1);
  for (int index = 0; index < box.count(); ++index)
    if (selected && SelectedDevice(box) == nullptr &&
        box.itemData(index).value<quintptr>() == reinterpret_cast<quintptr>(selected))
      box.setCurrentIndex(index);
}

TDevice* SelectedDevice(const QComboBox& box) {
  const int index = box.currentIndex();
  return index < 0 ? nullptr : reinterpret_cast<TDevice*>(box.itemData(index).value<quintptr>());
}
