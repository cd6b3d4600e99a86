#include "shell/ui/device_view_items.h"

#include <QPixmap>
#include <QTreeWidget>

#include "communication/device.h"
#include "communication/device_list.h"
#include "shell/ui/icons.h"

TDevice* DeviceOfItem(const QTreeWidgetItem* item) {
  return item ? static_cast<TDevice*>(item->data(0, Qt::UserRole).value<void*>()) : nullptr;
}

void ShowDevices(QTreeWidget& view, const TDeviceList& devices) {
  const TDevice* selected = DeviceOfItem(view.currentItem());
  view.clear();
  const TImageList& images = devices.GetImageList();
  for (std::size_t index = 0; index < devices.Count(); ++index) {
    TDevice* device = devices.GetDevice(index);
    const TDeviceListItem& item = device->GetListItem();
    auto* row = new QTreeWidgetItem(&view);
    row->setText(0, QString::fromStdString(item.Caption));
    row->setText(1, QString::fromStdString(item.Communication));
    QPixmap picture;
    const auto image = static_cast<std::size_t>(item.ImageIndex);
    if (item.ImageIndex > 0 && image < images.size() && !images[image].Image.empty())
      picture.loadFromData(images[image].Image.data(),
                           static_cast<uint>(images[image].Image.size()));
    row->setIcon(0, picture.isNull() ? QorvIcon("tree-device") : QIcon(picture));
    // The row knows its device, for the device list's commands.
    row->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(device)));
    if (device == selected) view.setCurrentItem(row);
  }
  // A device's name is never cut short.
  view.resizeColumnToContents(0);
}
