// "Reassign Device To...": one row per port group or GPIB board of the communications
// tree, a radio button and a list of its free locations; the location chosen in the
// checked row is the answer. Opened for the core's TReassignDeviceRequest.
#pragma once

#include <QDialog>

#include <memory>
#include <vector>

#include "communication/communications_tree.h"

class QComboBox;
class QRadioButton;

namespace Ui {
class TReassignDeviceForm;
}

class TReassignDeviceForm : public QDialog {
  Q_OBJECT

public:
  TReassignDeviceForm(TReassignDeviceRequest& request, QWidget* parent = nullptr);
  ~TReassignDeviceForm() override;

  // The location chosen in the row of the checked radio button, or none.
  THolderDevice* GetSelectedNode() const;

  // "You must choose a communication or press Cancel" without a location; else the
  // location goes to the request.
  void accept() override;

private:
  void RowChecked(int row);

  std::unique_ptr<Ui::TReassignDeviceForm> Ui;
  TReassignDeviceRequest& Request;
  std::vector<QRadioButton*> Radios;
  std::vector<QComboBox*> Lists;
};
