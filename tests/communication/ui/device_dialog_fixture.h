// What the device dialogs' tests share: an experiment with two blocks, the machine's
// communications as the tests make them (no real serial ports; the simulated GPIB bus
// with CEC board 0 and NI board 0; a serial instrument on COM1), a device list whose
// tree is built on them, the Qt UI port with the communication dialogs registered and
// the scripted message boxes.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/device_settings.h"
#include "communication/ui/communication_dialogs.h"
#include "communication/ui/device_dialog.h"
#include "scripts/device/send_script.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/qt_ui_port.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"
#include "support/serial_instrument.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

class TDeviceDialogFixture : public TCommandFixture {
protected:
  TDeviceDialogFixture() {
    RegisterCommunicationDialogs(Registry);
    Port.SetDialogRegistry(&Registry);
    PreviousPort = SetUiPort(&Port);
    TGpibSettings gpib{true, 1, 1};
    List.BuildCommunicationsTree(gpib);
  }
  ~TDeviceDialogFixture() override { SetUiPort(PreviousPort); }

  // The dialog as the registry shows it, but not modal.
  std::unique_ptr<TDeviceForm> Show(TDeviceFormRequest& request) {
    auto form = std::make_unique<TDeviceForm>(request, nullptr);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
  }
  std::unique_ptr<TDeviceForm> ShowNew() {
    NewRequest = TDeviceFormRequest();
    NewRequest.List = &List;
    return Show(NewRequest);
  }
  // The tree row of a location: the node of that text, the location at that address.
  static QTreeWidgetItem* Row(QWidget& form, const std::string& group, int address) {
    auto* tree = Control<QTreeWidget>(form, "CommunicationTree");
    for (int g = 0; tree && g < tree->topLevelItemCount(); ++g) {
      QTreeWidgetItem* top = tree->topLevelItem(g);
      if (top->text(0).toStdString() != group) continue;
      const int index = group == "RS232" ? 0 : address - 1;
      if (index < top->childCount()) return top->child(index);
    }
    ADD_FAILURE() << "no row " << group << " " << address;
    return nullptr;
  }
  // Clicks the location's row as a user does.
  static void ClickRow(QWidget& form, const std::string& group, int address) {
    QTreeWidgetItem* item = Row(form, group, address);
    auto* tree = Control<QTreeWidget>(form, "CommunicationTree");
    ASSERT_TRUE(item && tree);
    tree->scrollToItem(item);
    const QRect rect = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_EQ(tree->currentItem(), item);
  }
  static void Type(QWidget& form, const char* name, const QString& text) {
    auto* edit = Control<QWidget>(form, name);
    ASSERT_NE(edit, nullptr);
    if (auto* combo = qobject_cast<QComboBox*>(edit)) edit = combo->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  static int Index(QWidget& form, const char* combo) {
    return Control<QComboBox>(form, combo)->currentIndex();
  }
  // The four character boxes, send first.
  static std::vector<int> Characters(QWidget& form) {
    return {Index(form, "SendChar1Combo"), Index(form, "SendChar2Combo"),
            Index(form, "ReadChar1Combo"), Index(form, "ReadChar2Combo")};
  }
  // A device made as the dialog makes one.
  TDevice* Make(const std::string& name, THolderDevice& location) {
    TDeviceSettings settings = NewDeviceSettings();
    settings.Name = name;
    SelectLocation(settings, &location);
    return List.AddDeviceFromDialog(settings);
  }
  THolderDevice& Location(int group, int index) {
    return List.GetCommunicationsTree().GetGroup(group).GetLocation(index);
  }
  THolderDevice& Com1() { return Location(0, 0); }
  THolderDevice& Cec(int address) { return Location(1, address - 1); }
  THolderDevice& Ni(int address) { return Location(2, address - 1); }
  TSendScript* Use(TDevice* device) {
    auto* send = new TSendScript(B1, NewNode(B1));
    send->SetUpSend(device, "*IDN?", true, nullptr, 0, 1, false);
    return send;
  }

  TMachinePorts NoMachinePorts{{}};
  TSerialInstrument Com{0};
  TGpibSim Sim{"cec-board 0\nni-board 0\n"};
  TDialogRegistry Registry;
  TQtUiPort Port;
  TScriptedUserDialogs Dialogs;
  TDeviceList List{&Exp};
  TDeviceFormRequest NewRequest;

private:
  TUiPort* PreviousPort = nullptr;
};
