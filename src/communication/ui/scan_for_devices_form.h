// "Scan For Devices": the scannable boards of the communications tree, a Search that
// scans the chosen board on a worker thread (progress and Cancel; the items found so
// far stay), and Apply, which makes a device of each checked item at its location
// without the device dialog. Closing during a scan cancels it and waits for the worker.
// Opened for the core's TScanForDevicesRequest.
#pragma once

#include <QDialog>

#include <atomic>
#include <memory>
#include <thread>

#include "communication/instrument_scan.h"

namespace Ui {
class TScanForDevicesForm;
}

class TScanForDevicesForm : public QDialog {
  Q_OBJECT

public:
  TScanForDevicesForm(TScanForDevicesRequest& request, QWidget* parent = nullptr);
  ~TScanForDevicesForm() override;

  // The board list from the tree's scannable boards, the first selected; Apply and Check
  // All disabled.
  void FillCommunications();
  bool IsScanning() const { return Scanning; }

  void SearchClick();
  void CheckAllClick();
  void ApplyClick();
  // OK applies first when Apply is enabled.
  void accept() override;
  // Cancel, Escape and closing: a scan under way is cancelled and waited for.
  void reject() override;

signals:
  // A search has ended (completed or cancelled).
  void ScanFinished();

private:
  void AddItem(const TScanItem& item);
  void Finished();
  void StopScan();

  std::unique_ptr<Ui::TScanForDevicesForm> Ui;
  TScanForDevicesRequest& Request;
  std::thread Worker;
  std::atomic<bool> Cancel{false};
  bool Scanning = false;
};
