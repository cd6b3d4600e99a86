#include "shell/ui/device_view_items.h"

#include <QTreeWidget>

#include "communication/device.h"
#include "communication/device_list.h"

void ShowDevices(QTreeWidget& view, const TDeviceList& devices) {
  view.clear();
  for (std::size_t index = 0; index < devices.Count(); ++index) {
    const TDeviceListItem& item = devices.GetDevice(index)->GetListItem();
    auto* row = new QTreeWidgetItem(&view);
    row->setText(0, QString::fromStdString(item.Caption));
    row->setText(1, QString::fromStdString(item.Communication));
    // The row knows its device, for the device items that come with their dialogs.
    row->setData(0, Qt::UserRole,
                 QVariant::fromValue(static_cast<void*>(devices.GetDevice(index))));
  }
}
