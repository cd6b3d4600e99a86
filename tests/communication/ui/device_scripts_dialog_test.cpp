// "Edit Device Scripts" through its widgets: the checks of Add in order with their
// messages and focus, the defaults that Binary, ASCII, Constant and Variable put in,
// Edit and UpDate, Delete at once, OK taking the new commands and Cancel dropping them
// (while deletions stay; new commands alone leave the device unchanged), the context
// menu only over a selected line, and the refusal during a run.
#include "communication/ui/device_scripts_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "communication/core_device.h"
#include "communication/read_response.h"
#include "device_dialog_fixture.h"
#include "model/experiment_running.h"

namespace {

class DeviceScriptsDialogTest : public TDeviceDialogFixture {
protected:
  DeviceScriptsDialogTest() { Meter = Make("Meter", Cec(5)); }
  std::unique_ptr<TAddDeviceScriptsForm> ShowEditor() {
    Request = TDeviceScriptsRequest();
    Request.Device = &Meter->GetCoreDevice();
    auto form = std::make_unique<TAddDeviceScriptsForm>(Request, nullptr);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
  }
  static TTexts Lines(QWidget& form) {
    TTexts lines;
    auto* list = Control<QListWidget>(form, "ScriptList");
    for (int row = 0; row < list->count(); ++row) lines.push_back(list->item(row)->text().toStdString());
    return lines;
  }
  TTexts DeviceTexts() const {
    TTexts texts;
    const TCoreDevice& core = Meter->GetCoreDevice();
    for (int i = 0; i < core.GetScriptCount(); ++i) texts.push_back(core.GetScript(i)->GetText());
    return texts;
  }
  // Add is clicked; the message it shows (none: "") and the control focused after.
  std::string AddRefused(QWidget& form, std::string* focused = nullptr) {
    Dialogs.ClearCalls();
    Dialogs.ScriptAnswers({mbOK});
    ClickControl(form, "Add");
    if (focused && QApplication::focusWidget())
      *focused = QApplication::focusWidget()->objectName().toStdString();
    const TTexts texts = Dialogs.Texts();
    return texts.empty() ? "" : texts[0];
  }
  // Add is clicked and takes the entry without a message.
  void AddTaken(QWidget& form) {
    Dialogs.ClearCalls();
    ClickControl(form, "Add");
    EXPECT_TRUE(Dialogs.Texts().empty());
  }

  TDevice* Meter = nullptr;
  TDeviceScriptsRequest Request;
};

TEST_F(DeviceScriptsDialogTest, AddChecksInOrderAndFocusesTheBoxAtFault) {
  auto form = ShowEditor();
  EXPECT_EQ(form->windowTitle(), QString("Edit Device Scripts"));
  EXPECT_FALSE(Control<QWidget>(*form, "ResponseGroup")->isEnabled());
  std::string focused;
  EXPECT_EQ(AddRefused(*form, &focused), "You must enter a command");
  EXPECT_EQ(focused, "CommandEdit");
  Type(*form, "CommandEdit", "MEAS?");
  ClickControl(*form, "IsResponseYesRadio");
  EXPECT_TRUE(Control<QWidget>(*form, "ResponseGroup")->isEnabled());
  EXPECT_FALSE(Control<QWidget>(*form, "SendEndCharsCheck")->isEnabled());
  Type(*form, "PointsEdit", "");
  Type(*form, "BytesEdit", "");
  EXPECT_EQ(AddRefused(*form, &focused), "You must enter a number of points to read.");
  EXPECT_EQ(focused, "PointsEdit");
  // Variable puts in an array size of 10 and relabels the box.
  ClickControl(*form, "VariableRadio");
  EXPECT_EQ(Control<QLineEdit>(*form, "PointsEdit")->text(), QString("10"));
  EXPECT_EQ(Control<QLabel>(*form, "PointsLabel")->text(), QString("Size of Read Command"));
  EXPECT_TRUE(Control<QLabel>(*form, "ArrayVariableNote")->isVisible());
  Type(*form, "PointsEdit", "");
  EXPECT_EQ(AddRefused(*form), "You must enter a Read Command array size.");
  Type(*form, "PointsEdit", "1");
  EXPECT_EQ(AddRefused(*form),
            "The Read command array size must be an integer value greater than one.");
  ClickControl(*form, "ConstantRadio");
  EXPECT_EQ(Control<QLineEdit>(*form, "PointsEdit")->text(), QString("1"));
  EXPECT_EQ(Control<QLabel>(*form, "PointsLabel")->text(), QString("Number of Points to Read"));
  Type(*form, "PointsEdit", "-4");
  EXPECT_EQ(AddRefused(*form), "The number of points must be an integer value greater than zero.");
  Type(*form, "PointsEdit", "3");
  EXPECT_EQ(AddRefused(*form, &focused), "You must enter a number of bytes/point to read in");
  EXPECT_EQ(focused, "BytesEdit");
  Type(*form, "BytesEdit", "0");
  EXPECT_EQ(AddRefused(*form), "The number of bytes/point must be an integer greater than zero");
  // Binary puts in 4 bytes; 5 is too many.
  ClickControl(*form, "BinaryRadio");
  EXPECT_EQ(Control<QLineEdit>(*form, "BytesEdit")->text(), QString("4"));
  EXPECT_TRUE(Control<QWidget>(*form, "ByteOrderGroup")->isEnabled());
  Type(*form, "BytesEdit", "5");
  EXPECT_EQ(AddRefused(*form),
            "The number of bytes/point for binary data cannot be greater than 4");
  // ASCII puts back 100 bytes and ";"; an array needs a delimiter of one character.
  ClickControl(*form, "AsciiRadio");
  EXPECT_EQ(Control<QLineEdit>(*form, "BytesEdit")->text(), QString("100"));
  EXPECT_EQ(Control<QLineEdit>(*form, "DelimiterEdit")->text(), QString(";"));
  Type(*form, "DelimiterEdit", "");
  EXPECT_EQ(AddRefused(*form, &focused),
            "The delimiter cannot be blank when reading in an ASCII array.");
  EXPECT_EQ(focused, "DelimiterEdit");
  Type(*form, "DelimiterEdit", ",;");
  EXPECT_EQ(AddRefused(*form), "The delimiter cannot more than one character long.");
  Type(*form, "DelimiterEdit", ",");
  ClickControl(*form, "FloatRadio");
  ClickControl(*form, "StoreByteCountCheck");
  AddTaken(*form);
  ASSERT_EQ(Lines(*form).size(), 1u);
  // The editor starts again for the next command.
  EXPECT_EQ(Control<QLineEdit>(*form, "CommandEdit")->text(), QString());
  EXPECT_TRUE(Control<QRadioButton>(*form, "IsResponseNoRadio")->isChecked());
  // One ASCII point needs no delimiter.
  Type(*form, "CommandEdit", "VOLT?");
  ClickControl(*form, "IsResponseYesRadio");
  Type(*form, "DelimiterEdit", "");
  AddTaken(*form);
  Type(*form, "CommandEdit", "*RST");
  ClickControl(*form, "SendEndCharsCheck");
  AddTaken(*form);

  // OK takes them into the device, in order, as the editor set them.
  EXPECT_TRUE(DeviceTexts().empty());
  ClickControl(*form, "Ok");
  ASSERT_EQ(DeviceTexts().size(), 3u);
  const TDeviceScript& measure = *Meter->GetCoreDevice().GetScript(0);
  EXPECT_EQ(measure.GetCommand(), "MEAS?");
  ASSERT_NE(measure.GetResponse(), nullptr);
  EXPECT_EQ(measure.GetResponse()->GetNumberOfPoints(), 3);
  EXPECT_EQ(measure.GetResponse()->GetDelimiter(), ",");
  EXPECT_EQ(measure.GetResponse()->GetValueType(), eatFLOAT);
  EXPECT_TRUE(measure.GetResponse()->GetStoreByteCount());
  EXPECT_EQ(DeviceTexts()[2], "Send(*RST)");
  EXPECT_FALSE(Meter->GetCoreDevice().GetScript(2)->GetSendEndChars());
  EXPECT_TRUE(Request.Changed);
}

TEST_F(DeviceScriptsDialogTest, EditsAndDeletionsStayWhileNewCommandsNeedOK) {
  Meter->GetCoreDevice().NewScript("A");
  Meter->GetCoreDevice().NewScript("B");
  auto form = ShowEditor();
  EXPECT_EQ(Lines(*form), (TTexts{"Send(A)", "Send(B)"}));
  // A double click loads the line; UpDate changes it in place.
  auto* list = Control<QListWidget>(*form, "ScriptList");
  const QPoint second = list->visualItemRect(list->item(1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(Control<QLineEdit>(*form, "CommandEdit")->text(), QString("B"));
  EXPECT_EQ(Control<QPushButton>(*form, "Add")->text(), QString("&UpDate"));
  Type(*form, "CommandEdit", "B2");
  ClickControl(*form, "Add");
  EXPECT_EQ(Lines(*form), (TTexts{"Send(A)", "Send(B2)"}));
  EXPECT_EQ(Control<QPushButton>(*form, "Add")->text(), QString("&Add"));
  // A new command, then the first deleted, then Cancel.
  Type(*form, "CommandEdit", "C");
  ClickControl(*form, "Add");
  form->DeleteLine(0);
  EXPECT_EQ(Lines(*form), (TTexts{"Send(B2)", "Send(C)"}));
  ClickControl(*form, "Cancel");
  EXPECT_EQ(DeviceTexts(), TTexts{"Send(B2)"});
  EXPECT_TRUE(Request.Changed);

  // New commands alone, edited or deleted before Cancel, change nothing of the device.
  form = ShowEditor();
  for (const char* command : {"D", "E"}) {
    Type(*form, "CommandEdit", command);
    ClickControl(*form, "Add");
  }
  form->EditLine(1);
  Type(*form, "CommandEdit", "D2");
  ClickControl(*form, "Add");
  form->DeleteLine(2);
  EXPECT_EQ(Lines(*form), (TTexts{"Send(B2)", "Send(D2)"}));
  ClickControl(*form, "Cancel");
  EXPECT_EQ(DeviceTexts(), TTexts{"Send(B2)"});
  EXPECT_FALSE(Request.Changed);

  // The context menu shows over a selected line only, with Edit and Delete.
  form = ShowEditor();
  list = Control<QListWidget>(*form, "ScriptList");
  bool menuShown = false;
  QTimer::singleShot(50, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    menuShown = menu != nullptr;
    if (!menu) return;
    EXPECT_NE(menu->findChild<QAction*>("EditMenuItem"), nullptr);
    QAction* remove = menu->findChild<QAction*>("DeleteMenuItem");
    ASSERT_NE(remove, nullptr);
    menu->setActiveAction(remove);
    QTest::keyClick(menu, Qt::Key_Return);
  });
  list->setCurrentRow(0);
  emit list->customContextMenuRequested(list->visualItemRect(list->item(0)).center());
  EXPECT_TRUE(menuShown);
  EXPECT_TRUE(Lines(*form).empty());
  EXPECT_TRUE(DeviceTexts().empty());  // deleted at once
  ClickControl(*form, "Cancel");
}

TEST_F(DeviceScriptsDialogTest, TheEditorIsRefusedDuringARun) {
  ExperimentRunning = true;
  Dialogs.ScriptAnswers({mbOK});
  Meter->EditCommands();
  EXPECT_EQ(Dialogs.Texts(), TTexts{"Cannot edit these when the experiment is running"});
  ExperimentRunning = false;
  // Otherwise it opens modally on the device's commands.
  Meter->GetCoreDevice().NewScript("X");
  TModalDialogActor<TAddDeviceScriptsForm> actor([](TAddDeviceScriptsForm& dialog) {
    EXPECT_EQ(dialog.Listed().size(), 1u);
    Type(dialog, "CommandEdit", "Y");
    ClickControl(dialog, "Add");
    ClickControl(dialog, "Ok");
  });
  Meter->EditCommands();
  EXPECT_TRUE(actor.Seen);
  EXPECT_EQ(DeviceTexts(), (TTexts{"Send(X)", "Send(Y)"}));
}

}  // namespace
