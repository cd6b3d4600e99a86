// The Read and Send-and-Read dialogs through the main window: a Read added with the tool
// button and changed with a double click, every refusal of OK with its text, the
// read-size limits, a command whose device is not offered, no devices, a run, a variable
// made with Add, when the D-to-E option is checked; the Send and Read pair, a D exponent
// read in a run and the refusals of its two pages; the Read From File dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

#include "communication/cec_gpib.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "command_dialogs_fixture.h"
#include "communication/read_data.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/ui/variable_dialog.h"
#include "model/value.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_script.h"
#include "scripts/files/read_file_script.h"
#include "scripts/ui/read_dialog.h"
#include "scripts/ui/read_file_dialog.h"
#include "scripts/ui/send_and_read_dialog.h"
#include "support/block_commands.h"
#include "support/gpib_sim.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

using TReadActor = TModalDialogActor<TReadScriptForm>;

// The control that has the focus: a combo box for its line edit.
QString FocusName() {
  QWidget* modal = QApplication::activeModalWidget();
  QWidget* focus = modal ? modal->focusWidget() : QApplication::focusWidget();
  if (!focus) return {};
  if (focus->objectName().isEmpty() && focus->parentWidget())
    return focus->parentWidget()->objectName();
  return focus->objectName();
}

// Chooses the entry of the combo box by its text, as a user picks it.
void Choose(QWidget& dialog, const char* name, const QString& text) {
  auto* combo = Control<QComboBox>(dialog, name);
  ASSERT_NE(combo, nullptr);
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  combo->setCurrentIndex(index);
}

}  // namespace

class TReadDialogTest : public TCommandDialogsFixture {
protected:
  TDeviceList& Devices() const { return Window->Session().GetDeviceList(); }
  TDevice* AddMeter(const std::string& name) {
    TDevice* device = Devices().NewDevice();
    device->GetCoreDevice().SetName(name);
    device->SetCommunication(std::make_unique<TCECGPIB>(0, 5, nullptr));
    device->UpdateListItem();
    Window->RefreshViews();
    return device;
  }
  TData* Single(const std::string& name, int type) {
    return Exp().GetDataSingleList()->Add(Start, type, 1, name);
  }
  TData* Array(const std::string& name, int type, std::int32_t size) {
    return Exp().GetDataArrayList()->Add(Start, type, size, name);
  }
  std::vector<TScript*> Commands() const { return BlockCommands(Start); }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
  // A Read of the block's first variable from the first device, with the dialog's defaults.
  TReadScript* AddRead() {
    TReadActor actor([](TReadScriptForm& dialog) { Press(dialog, "Ok"); });
    Trigger("ReadButton");
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    const std::vector<TScript*> commands = Commands();
    return commands.empty() ? nullptr : dynamic_cast<TReadScript*>(commands.back());
  }
  // Opens the Read dialog with the tool button, lets act fill it, presses OK and answers
  // the messages OK showed; the dialog is then cancelled.
  std::vector<std::string> Refusals(const std::function<void(TReadScriptForm&)>& act,
                                    QString* focus = nullptr) {
    Dialogs.ScriptAnswers({mbOK});
    bool stayedOpen = false;
    TReadActor actor([&](TReadScriptForm& dialog) {
      act(dialog);
      Press(dialog, "Ok");
      stayedOpen = dialog.isVisible();
      if (focus) *focus = FocusName();
      Press(dialog, "Cancel");
    });
    Trigger("ReadButton");
    EXPECT_TRUE(actor.Seen);
    EXPECT_TRUE(stayedOpen);
    std::vector<std::string> texts = Dialogs.Texts();
    Dialogs.ClearCalls();
    return texts;
  }
};

TEST_F(TReadDialogTest, TheReadButtonAddsAReadThatADoubleClickChanges) {
  TDevice* meter = AddMeter("Meter");
  TDevice* scope = AddMeter("Scope");
  TData* volts = Single("volts", eatFLOAT);
  TData* trace = Array("trace", eatINTEGER, 10);
  TData* count = Single("count", eatINTEGER);
  ASSERT_TRUE(Action("ReadButton")->isEnabled());

  TReadActor add([&](TReadScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Read"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 7);
    auto* devices = Control<QComboBox>(dialog, "DeviceCombo");
    ASSERT_EQ(devices->count(), 2);
    EXPECT_EQ(devices->currentText(), QString::fromStdString(meter->GetDisplayName()));
    auto* variables = Control<QComboBox>(dialog, "DataComboBox");
    EXPECT_EQ(variables->currentText(), QString("volts"));
    EXPECT_EQ(variables->count(), 3);
    EXPECT_TRUE(FocusedInWindow(variables));
    EXPECT_EQ(Control<QLineEdit>(dialog, "NumBytesEdit")->text(), QString("100"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, "AsciiButton")->isChecked());
    EXPECT_TRUE(Control<QWidget>(dialog, "NumPointsPanel")->isHidden());
    EXPECT_FALSE(Control<QCheckBox>(dialog, "DoCleanString")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "WSDelimiter")->isChecked());
    Press(dialog, "Ok");
  });
  Trigger("ReadButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  auto* read = OnlyCommand<TReadScript>(Start);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(Shown(read->AExpNode), QString("Meter: Read ASCII(volts)"));
  EXPECT_EQ(read->GetDevice(), meter);
  EXPECT_EQ(read->GetStoredData(), volts);
  EXPECT_EQ(read->GetReadData()->GetBytesPerPoint(), 100);
  EXPECT_FALSE(read->GetCleanString());
  EXPECT_TRUE(read->GetWSDelimiter());
  EXPECT_EQ(read->GetSecondStoredData(), nullptr);
  EXPECT_TRUE(Modified());

  // Into the array, binary, 5 points of 2 bytes, right to left, from the other device,
  // with the byte count stored.
  Window->Session().ExperimentChanged(0, 1);
  TReadActor change([&](TReadScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "DataComboBox")->currentText(), QString("volts"));
    Choose(dialog, "DeviceCombo", QString::fromStdString(scope->GetDisplayName()));
    Choose(dialog, "DataComboBox", "trace");
    EXPECT_FALSE(Control<QWidget>(dialog, "NumPointsPanel")->isHidden());
    EXPECT_EQ(Control<QComboBox>(dialog, "NumPointCombo")->currentText(), QString("10"));
    ClickControl(dialog, "BinaryButton");
    EXPECT_FALSE(Control<QWidget>(dialog, "ReadBytesGroup")->isHidden());
    EXPECT_TRUE(Control<QWidget>(dialog, "DelimitPanel")->isHidden());
    Retype(dialog, "NumPointCombo", "5");
    Retype(dialog, "NumBytesEdit", "2");
    ClickControl(dialog, "RightToLeftButton");
    ClickControl(dialog, "RecordNumBytes");
    EXPECT_EQ(Control<QComboBox>(dialog, "IntegerComboBox")->currentText(), QString("count"));
    Press(dialog, "Ok");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  EXPECT_EQ(Commands(), std::vector<TScript*>{read});
  EXPECT_EQ(Shown(read->AExpNode), QString("Scope: Read Binary(trace,5)"));
  EXPECT_EQ(read->GetDevice(), scope);
  EXPECT_EQ(read->GetStoredData(), trace);
  EXPECT_EQ(read->GetSecondStoredData(), count);
  EXPECT_EQ(read->GetReadData()->GetBytesPerPoint(), 2);
  EXPECT_FALSE(read->GetReadData()->GetLeftToRight());
  EXPECT_EQ(read->GetPointsRead(), 5);
  EXPECT_TRUE(Modified());

  // The number of points from a variable; the dialog shows what the command holds.
  TReadActor points([&](TReadScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "DataComboBox")->currentText(), QString("trace"));
    EXPECT_EQ(Control<QComboBox>(dialog, "NumPointCombo")->currentText(), QString("5"));
    EXPECT_EQ(Control<QLineEdit>(dialog, "NumBytesEdit")->text(), QString("2"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, "RightToLeftButton")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "RecordNumBytes")->isChecked());
    Retype(dialog, "NumPointCombo", "count");
    ClickControl(dialog, "AsciiButton");
    Retype(dialog, "DelimiterEdit", ",");
    ClickControl(dialog, "RecordNumBytes");
    Press(dialog, "Ok");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(points.Seen);
  EXPECT_EQ(Shown(read->AExpNode), QString("Scope: Read ASCII(trace,count)"));
  auto* array = dynamic_cast<TReadDataArray*>(read->GetReadData());
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(array->GetDelimiter(), ",");
  EXPECT_EQ(read->GetSecondStoredData(), nullptr);

  // Cancel leaves it as it was, unmarked.
  Window->Session().ExperimentChanged(0, 1);
  TReadActor cancel([&](TReadScriptForm& dialog) {
    Choose(dialog, "DataComboBox", "volts");
    Press(dialog, "Cancel");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(read->GetStoredData(), trace);
  EXPECT_EQ(Shown(read->AExpNode), QString("Scope: Read ASCII(trace,count)"));
  EXPECT_FALSE(Modified());
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TReadDialogTest, OkRefusesEachBadSettingWithItsTextAndMakesNothing) {
  AddMeter("Meter");
  // A block without variables: none to read into.
  EXPECT_EQ(Refusals([](TReadScriptForm& dialog) {
              EXPECT_TRUE(Control<QWidget>(dialog, "ReadPropPanel")->isHidden());
            }),
            std::vector<std::string>{"You must select/add a variable to read the data into"});
  Array("trace", eatFLOAT, 10);
  Single("volts", eatFLOAT);

  const std::vector<std::pair<QString, std::string>> points = {
      {"", "Invalid number of points:  The number of points must be defined when reading in an "
           "array."},
      {"1", "Invalid number of points:  The number of points must be\r an integer greater than "
            "one or a variable in the list."},
      {"x", "Invalid number of points:  The number of points must be\r an integer greater than "
            "one or a variable in the list."},
      {"11", "The number of points to read cannot be greater than trace array size of 10."},
  };
  for (const auto& [text, refusal] : points) {
    SCOPED_TRACE(text.toStdString());
    QString focus;
    EXPECT_EQ(Refusals(
                  [&](TReadScriptForm& dialog) {
                    Choose(dialog, "DataComboBox", "trace");
                    Retype(dialog, "NumPointCombo", text);
                  },
                  &focus),
              std::vector<std::string>{refusal});
    EXPECT_EQ(focus, QString("NumPointCombo"));
  }

  const std::string byteCount =
      "Byte Count invalid:  The number of bytes/point must be an integer value greater than "
      "zero.";
  for (const QString bytes : {"0", "", "-3", "two"}) {
    SCOPED_TRACE(bytes.toStdString());
    EXPECT_EQ(Refusals([&](TReadScriptForm& dialog) { Retype(dialog, "NumBytesEdit", bytes); }),
              std::vector<std::string>{byteCount});
  }
  EXPECT_EQ(Refusals([](TReadScriptForm& dialog) {
              Choose(dialog, "DataComboBox", "trace");
              Retype(dialog, "DelimiterEdit", "");
            }),
            std::vector<std::string>{"Delimiter Text Invalid:  The delimiter must be set to a "
                                     "single character when reading in an ASCII array"});
  EXPECT_EQ(Refusals([](TReadScriptForm& dialog) {
              Choose(dialog, "DataComboBox", "trace");
              Retype(dialog, "DelimiterEdit", ";;");
            }),
            std::vector<std::string>{"Delimiter Text Invalid:  The delimiter cannot be more than "
                                     "one character in length."});
  // No integer variable for the byte count.
  EXPECT_EQ(Refusals([](TReadScriptForm& dialog) { ClickControl(dialog, "RecordNumBytes"); }),
            std::vector<std::string>{"You must select/add a variable to read the byte count into"});
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(Modified());
}

TEST_F(TReadDialogTest, OkRefusesBinaryPointsOfMoreThan4BytesAndReadsOverTheLimit) {
  AddMeter("Meter");
  Single("volts", eatFLOAT);
  Array("trace", eatINTEGER, 10);
  // A binary point is at most 4 bytes: 5 would stop the run at its first preparation.
  QString focus;
  EXPECT_EQ(Refusals(
                [](TReadScriptForm& dialog) {
                  ClickControl(dialog, "BinaryButton");
                  Retype(dialog, "NumBytesEdit", "5");
                },
                &focus),
            std::vector<std::string>{"Byte Count invalid:  The number of bytes/point for binary "
                                     "data cannot be greater than 4."});
  EXPECT_EQ(focus, QString("NumBytesEdit"));
  // One point larger than the largest read.
  const std::string over = "Byte Count invalid:  The read size of " +
                           std::to_string(MaxReadByteCount + 1) +
                           " bytes (points x bytes/point) cannot be greater than " +
                           std::to_string(MaxReadByteCount) + " bytes.";
  EXPECT_EQ(Refusals([](TReadScriptForm& dialog) {
              Retype(dialog, "NumBytesEdit", QString::number(MaxReadByteCount + 1));
            }),
            std::vector<std::string>{over});
  // Ten points whose product passes the limit, though each point is within it.
  const std::int64_t each = MaxReadByteCount / 10 + 1;
  EXPECT_EQ(Refusals([&](TReadScriptForm& dialog) {
              Choose(dialog, "DataComboBox", "trace");
              Retype(dialog, "NumBytesEdit", QString::number(each));
            }),
            std::vector<std::string>{"Byte Count invalid:  The read size of " +
                                     std::to_string(each * 10) +
                                     " bytes (points x bytes/point) cannot be greater than " +
                                     std::to_string(MaxReadByteCount) + " bytes."});
  EXPECT_TRUE(Commands().empty());

  // The largest read and a binary point of 4 bytes are taken.
  TReadActor largest([](TReadScriptForm& dialog) {
    Retype(dialog, "NumBytesEdit", QString::number(MaxReadByteCount));
    Press(dialog, "Ok");
  });
  Trigger("ReadButton");
  ASSERT_TRUE(largest.Seen);
  EXPECT_FALSE(largest.LeftOpen);
  TReadActor four([](TReadScriptForm& dialog) {
    Choose(dialog, "DataComboBox", "trace");
    ClickControl(dialog, "BinaryButton");
    Retype(dialog, "NumBytesEdit", "4");
    Press(dialog, "Ok");
  });
  Trigger("ReadButton");
  ASSERT_TRUE(four.Seen);
  EXPECT_FALSE(four.LeftOpen);
  const std::vector<TScript*> commands = Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(static_cast<TReadScript*>(commands[0])->GetReadData()->GetBytesPerPoint(),
            MaxReadByteCount);
  EXPECT_EQ(static_cast<TReadScript*>(commands[1])->GetReadData()->GetBytesPerPoint(), 4);
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TReadDialogTest, ACommandWhoseDeviceIsNotOfferedOpensWithNoDeviceAndOkAsksForOne) {
  AddMeter("Meter");
  TData* volts = Single("volts", eatFLOAT);
  TReadScript* read = AddRead();
  ASSERT_NE(read, nullptr);
  // A device the list does not hold.
  TImageList images(1);
  TDevice stray(&images);
  stray.GetCoreDevice().SetName("Stray");
  read->SetDevice(&stray);
  Window->Session().ExperimentChanged(0, 1);

  Dialogs.ScriptAnswers({mbOK});
  QString focus;
  TReadActor edit([&](TReadScriptForm& dialog) {
    auto* devices = Control<QComboBox>(dialog, "DeviceCombo");
    EXPECT_EQ(devices->currentIndex(), -1);
    EXPECT_EQ(devices->count(), 1);
    Press(dialog, "Ok");
    focus = FocusName();
    EXPECT_TRUE(dialog.isVisible());
    Press(dialog, "Cancel");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(edit.Seen);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must select a device"});
  EXPECT_EQ(focus, QString("DeviceCombo"));
  EXPECT_EQ(read->GetDevice(), &stray);
  EXPECT_EQ(read->GetStoredData(), volts);
  EXPECT_FALSE(Modified());
  read->SetDevice(nullptr);
}

TEST_F(TReadDialogTest, WithoutDevicesOrDuringARunNoReadIsAdded) {
  Single("volts", eatFLOAT);
  Dialogs.ScriptAnswers({mbOK});
  {
    TReadActor none([](TReadScriptForm&) {});
    Trigger("ReadButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"There are no devices to read from."});
  Dialogs.ClearCalls();
  EXPECT_TRUE(Commands().empty());

  AddMeter("Meter");
  TReadScript* read = AddRead();
  ASSERT_NE(read, nullptr);
  ExperimentRunning = true;
  Dialogs.ScriptAnswers({mbOK});
  {
    TReadActor none([](TReadScriptForm&) {});
    Trigger("ReadButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"Cannot add read command while running an experiment."});
  bool okEnabled = true;
  bool addEnabled = true;
  TReadActor look([&](TReadScriptForm& dialog) {
    okEnabled = Control<QPushButton>(dialog, "Ok")->isEnabled();
    addEnabled = Control<QPushButton>(dialog, "AddNewVariable")->isEnabled();
    EXPECT_FALSE(Control<QRadioButton>(dialog, "ArrayButton")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(dialog, "NewBytesButton")->isEnabled());
    Press(dialog, "Cancel");
  });
  read->Edit();
  EXPECT_TRUE(look.Seen);
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(addEnabled);
  ExperimentRunning = false;
  EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(TReadDialogTest, AVariableMadeWithAddStaysOnlyWhenOkUsesIt) {
  AddMeter("Meter");
  Single("volts", eatFLOAT);
  auto makeVariable = [](const QString& name) {
    return [name](TDataForm& form) {
      QTest::keyClicks(Control<QLineEdit>(form, "VarName"), name);
      ClickControl(form, "IntButton");
      Press(form, "OK");
    };
  };
  // Made, then abandoned with Cancel: it goes again.
  {
    TModalDialogActor<TDataForm> variable(makeVariable("spare"));
    TReadActor actor([&](TReadScriptForm& dialog) {
      Press(dialog, "AddNewVariable");
      EXPECT_TRUE(variable.Seen);
      EXPECT_EQ(Control<QComboBox>(dialog, "DataComboBox")->currentText(), QString("spare"));
      EXPECT_TRUE(Exp().GetDataSingleList()->GetDataNameList().HasDataName("spare"));
      Press(dialog, "Cancel");
    });
    Trigger("ReadButton");
    ASSERT_TRUE(actor.Seen);
  }
  EXPECT_FALSE(Exp().GetDataSingleList()->GetDataNameList().HasDataName("spare"));
  EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), 1);

  // Made and read into: it stays.
  {
    TModalDialogActor<TDataForm> variable(makeVariable("level"));
    TReadActor actor([&](TReadScriptForm& dialog) {
      Press(dialog, "AddNewVariable");
      Press(dialog, "Ok");
    });
    Trigger("ReadButton");
    ASSERT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  const std::vector<TScript*> commands = Commands();
  ASSERT_EQ(commands.size(), 1u);
  TData* level = commands[0]->GetStoredData();
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->GetDataName(), "level");
  EXPECT_EQ(level->GetDataType(), eatINTEGER);
  EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), 2);
}

TEST_F(TReadDialogTest, TheDToEOptionIsCheckedWheneverAFloatReadShowsIt) {
  AddMeter("Meter");
  Single("label", eatSTRING);
  TData* volts = Single("volts", eatFLOAT);
  auto option = [](QWidget& dialog) { return Control<QCheckBox>(dialog, "DoCleanString"); };

  // A new command starts with the option off; choosing the float variable shows it on.
  TReadActor add([&](TReadScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "DataComboBox")->currentText(), QString("label"));
    EXPECT_TRUE(option(dialog)->isHidden());
    EXPECT_FALSE(option(dialog)->isChecked());
    Choose(dialog, "DataComboBox", "volts");
    EXPECT_FALSE(option(dialog)->isHidden());
    EXPECT_TRUE(option(dialog)->isChecked());
    Press(dialog, "Ok");
  });
  Trigger("ReadButton");
  ASSERT_TRUE(add.Seen);
  auto* read = OnlyCommand<TReadScript>(Start);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetStoredData(), volts);
  EXPECT_TRUE(read->GetCleanString());

  // Turned off, it stays off when the command is opened again; a change of the read's
  // kind shows the panel afresh, with the option on.
  TReadActor off([&](TReadScriptForm& dialog) {
    ClickControl(dialog, "DoCleanString");
    Press(dialog, "Ok");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(off.Seen);
  EXPECT_FALSE(read->GetCleanString());
  TReadActor kept([&](TReadScriptForm& dialog) {
    EXPECT_FALSE(option(dialog)->isHidden());
    EXPECT_FALSE(option(dialog)->isChecked());
    Press(dialog, "Ok");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(kept.Seen);
  EXPECT_FALSE(read->GetCleanString());
  TReadActor again([&](TReadScriptForm& dialog) {
    ClickControl(dialog, "BinaryButton");
    EXPECT_TRUE(option(dialog)->isHidden());
    ClickControl(dialog, "AsciiButton");
    EXPECT_TRUE(option(dialog)->isChecked());
    Press(dialog, "Ok");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(again.Seen);
  EXPECT_TRUE(read->GetCleanString());
}

namespace {

using TSendReadActor = TModalDialogActor<TSendAndReadForm>;

}  // namespace

class TSendAndReadDialogTest : public TReadDialogTest {
protected:
  // Adds a pair with the tool button: act fills the dialog and presses OK, which closes it.
  void AddPair(const std::function<void(TSendAndReadForm&)>& act) {
    TSendReadActor actor(act);
    Trigger("SendReadButton");
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  // Opens the dialog with the tool button, lets act fill it and press OK; answers the
  // messages shown, whether the dialog stayed open and the page it showed then.
  std::vector<std::string> Refusals(const std::function<void(TSendAndReadForm&)>& act,
                                    QString* page = nullptr) {
    Dialogs.ScriptAnswers({mbOK});
    bool stayedOpen = false;
    TSendReadActor actor([&](TSendAndReadForm& dialog) {
      act(dialog);
      Press(dialog, "Ok");
      stayedOpen = dialog.isVisible();
      if (page) *page = Control<QTabWidget>(dialog, "Pages")->currentWidget()->objectName();
      Press(dialog, "Cancel");
    });
    Trigger("SendReadButton");
    EXPECT_TRUE(actor.Seen);
    EXPECT_TRUE(stayedOpen);
    std::vector<std::string> texts = Dialogs.Texts();
    Dialogs.ClearCalls();
    return texts;
  }
};

TEST_F(TSendAndReadDialogTest, TheSendAndReadButtonAddsASendThenARead) {
  TDevice* meter = AddMeter("Meter");
  meter->GetCoreDevice().SetSendChar1(13);
  meter->GetCoreDevice().SetSendChar2(10);
  TData* volts = Single("volts", eatFLOAT);
  ASSERT_TRUE(Action("SendReadButton")->isEnabled());

  AddPair([&](TSendAndReadForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Send and Read"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 11);
    EXPECT_EQ(Control<QTabWidget>(dialog, "Pages")->currentWidget()->objectName(),
              QString("SendPage"));
    EXPECT_EQ(Control<QLabel>(dialog, "Term1")->text(), QString("13"));
    EXPECT_EQ(Control<QLabel>(dialog, "Term2")->text(), QString("10"));
    EXPECT_EQ(Control<QComboBox>(dialog, "SendVar")->currentText(), QString("No Variable"));
    EXPECT_TRUE(Control<QWidget>(dialog, "SendArrayComboBox")->isHidden());
    EXPECT_TRUE(Control<QWidget>(dialog, "FloatFormatButton")->isHidden());
    EXPECT_EQ(Control<QComboBox>(dialog, "DataComboBox")->currentText(), QString("volts"));
    EXPECT_EQ(Control<QCheckBox>(dialog, "WSDelimiter")->text(),
              QString("Whitespace is a delimiter?"));
    QTest::keyClicks(Control<QLineEdit>(dialog, "SendCmd"), " MEAS? ");
    Press(dialog, "Ok");
  });
  const std::vector<TScript*> commands = Commands();
  ASSERT_EQ(commands.size(), 2u);
  auto* send = dynamic_cast<TSendScript*>(commands[0]);
  auto* read = dynamic_cast<TReadScript*>(commands[1]);
  ASSERT_TRUE(send && read);
  EXPECT_EQ(Shown(send->AExpNode), QString("Meter: Send(MEAS?) T"));
  EXPECT_EQ(Shown(read->AExpNode), QString("Meter: Read ASCII(volts)"));
  EXPECT_EQ(send->GetDevice(), meter);
  EXPECT_EQ(read->GetDevice(), meter);
  EXPECT_EQ(read->GetStoredData(), volts);
  EXPECT_EQ(read->AExpNode->GetNextSibling(), Exp().GetBlankScript()->AExpNode);
  EXPECT_TRUE(Modified());

  // A variable alone, without command text, is sent; a float with its format.
  AddPair([&](TSendAndReadForm& dialog) {
    Choose(dialog, "SendVar", QString::fromStdString(volts->GetName()));
    EXPECT_FALSE(Control<QWidget>(dialog, "FloatFormatButton")->isHidden());
    EXPECT_EQ(Control<QLabel>(dialog, "FloatFormatLabel")->text(), QString("Format: Standard"));
    ClickControl(dialog, "ForceSpaceCheck");
    Press(dialog, "Ok");
  });
  ASSERT_EQ(Commands().size(), 4u);
  auto* second = dynamic_cast<TSendScript*>(Commands()[2]);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetCommandString(), "");
  EXPECT_TRUE(second->GetForceSpace());
  EXPECT_EQ(second->GetStoredData(), nullptr);  // a Send stores nothing
  EXPECT_EQ(Shown(second->AExpNode), QString("Meter: Send(volts) T"));
  EXPECT_TRUE(dynamic_cast<TReadScript*>(Commands()[3]) != nullptr);

  // Cancel makes nothing.
  TSendReadActor cancel([](TSendAndReadForm& dialog) {
    QTest::keyClicks(Control<QLineEdit>(dialog, "SendCmd"), "*IDN?");
    Press(dialog, "Cancel");
  });
  Trigger("SendReadButton");
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(Commands().size(), 4u);
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TSendAndReadDialogTest, AFloatReadConvertsAnExponentWrittenWithD) {
  TGpibSim bus("cec-board 0\ninstrument cec 0 5\n  reply VAL? = text 1.5D3\n");
  AddMeter("Meter");
  Single("label", eatSTRING);
  auto* volts = static_cast<TDataSingle*>(Single("volts", eatFLOAT));

  AddPair([&](TSendAndReadForm& dialog) {
    auto* option = Control<QCheckBox>(dialog, "DoCleanString");
    EXPECT_TRUE(option->isHidden());
    EXPECT_FALSE(option->isChecked());
    QTest::keyClicks(Control<QLineEdit>(dialog, "SendCmd"), "VAL?");
    Choose(dialog, "DataComboBox", "volts");
    EXPECT_FALSE(option->isHidden());
    EXPECT_TRUE(option->isChecked());
    Press(dialog, "Ok");
  });
  const std::vector<TScript*> commands = Commands();
  ASSERT_EQ(commands.size(), 2u);
  auto* read = dynamic_cast<TReadScript*>(commands[1]);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->GetCleanString());

  // Run: the reply "1.5D3" is 1500, not 1.5.
  Dialogs.ScriptAnswers({mbOK});  // "Experiment Complete"
  Trigger("StartButton");
  ASSERT_TRUE(WaitUntil(
      [&] { return Panel(TQorvForm::spRunState) == "Stopped" && !IsRunActive(); }, 30000));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Experiment Complete"});
  EXPECT_FLOAT_EQ(static_cast<TValueNum&>(volts->GetValue()).GetFloat(), 1500.0f);
}

TEST_F(TSendAndReadDialogTest, OkRefusesOnThePageConcernedAndMakesNeitherCommand) {
  Dialogs.ScriptAnswers({mbOK});
  Trigger("SendReadButton");
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"There are no devices to read from."});
  Dialogs.ClearCalls();

  AddMeter("Meter");
  Single("volts", eatFLOAT);
  TData* trace = Array("trace", eatINTEGER, 10);
  QString page;
  EXPECT_EQ(Refusals([](TSendAndReadForm& dialog) {
              Control<QTabWidget>(dialog, "Pages")->setCurrentIndex(1);
            }, &page),
            std::vector<std::string>{
                "You must define either a command string or select a variable to send."});
  EXPECT_EQ(page, QString("SendPage"));
  EXPECT_EQ(Refusals([&](TSendAndReadForm& dialog) {
              Choose(dialog, "SendVar", QString::fromStdString(trace->GetName()));
              EXPECT_FALSE(Control<QWidget>(dialog, "SendArrayComboBox")->isHidden());
              Retype(dialog, "SendArrayComboBox", "10");
            }, &page),
            std::vector<std::string>{"The maximum index for this array is 9"});
  EXPECT_EQ(page, QString("SendPage"));

  auto withCommand = [](const std::function<void(TSendAndReadForm&)>& readPage) {
    return [readPage](TSendAndReadForm& dialog) {
      QTest::keyClicks(Control<QLineEdit>(dialog, "SendCmd"), "CURV?");
      Control<QTabWidget>(dialog, "Pages")->setCurrentIndex(0);
      readPage(dialog);
    };
  };
  EXPECT_EQ(Refusals(withCommand([](TSendAndReadForm& dialog) {
              Choose(dialog, "DataComboBox", "trace");
              Retype(dialog, "NumPointCombo", "11");
            }), &page),
            std::vector<std::string>{
                "The number of points to read cannot be greater than trace array size of 10."});
  EXPECT_EQ(page, QString("ReadSettings"));
  EXPECT_EQ(Refusals(withCommand([](TSendAndReadForm& dialog) {
              ClickControl(dialog, "BinaryButton");
              Retype(dialog, "NumBytesEdit", "8");
            }), &page),
            std::vector<std::string>{"Byte Count invalid:  The number of bytes/point for binary "
                                     "data cannot be greater than 4."});
  EXPECT_EQ(page, QString("ReadSettings"));
  EXPECT_EQ(Refusals(withCommand([](TSendAndReadForm& dialog) {
              Choose(dialog, "DataComboBox", "trace");
              Retype(dialog, "NumBytesEdit", QString::number(MaxReadByteCount / 4));
            })),
            std::vector<std::string>{"Byte Count invalid:  The read size of " +
                                     std::to_string(MaxReadByteCount / 4 * 10) +
                                     " bytes (points x bytes/point) cannot be greater than " +
                                     std::to_string(MaxReadByteCount) + " bytes."});
  EXPECT_EQ(Refusals(withCommand([](TSendAndReadForm& dialog) {
              ClickControl(dialog, "RecordNumBytes");
            })),
            std::vector<std::string>{"You must select/add a variable to read the byte count into"});
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(Modified());
}

namespace {

using TReadFileActor = TModalDialogActor<TReadFromFileForm>;

}  // namespace

class TReadFileDialogTest : public TReadDialogTest {
protected:
  // Opens the dialog with the tool button, lets act fill it and press OK; answers the
  // messages and questions shown and the control that then has the focus.
  std::vector<std::string> Refusals(std::initializer_list<TMessageButton> answers,
                                    const std::function<void(TReadFromFileForm&)>& act,
                                    QString* focus = nullptr) {
    Dialogs.ScriptAnswers(answers);
    bool stayedOpen = false;
    TReadFileActor actor([&](TReadFromFileForm& dialog) {
      act(dialog);
      Press(dialog, "Ok");
      stayedOpen = dialog.isVisible();
      if (focus) *focus = FocusName();
      Press(dialog, "Cancel");
    });
    Trigger("ReadFileButton");
    EXPECT_TRUE(actor.Seen);
    EXPECT_TRUE(stayedOpen);
    std::vector<std::string> texts = Dialogs.Texts();
    Dialogs.ClearCalls();
    return texts;
  }
  TTempDir Dir;
};

TEST_F(TReadFileDialogTest, TheReadFileButtonAddsAReadFileThatADoubleClickChanges) {
  const std::string path = Dir.WriteBytes("data.txt", {'1', '.', '5', ',', ' ', '2', '\n'});
  TData* values = Array("values", eatFLOAT, 10);
  TData* count = Single("n", eatINTEGER);
  Single("label", eatSTRING);
  ASSERT_TRUE(Action("ReadFileButton")->isEnabled());

  Dialogs.ScriptFiles({path});
  TReadFileActor add([&](TReadFromFileForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Read From File"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 8);
    EXPECT_TRUE(Control<QLineEdit>(dialog, "FileName")->text().isEmpty());
    EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "FileName")));
    EXPECT_EQ(Control<QComboBox>(dialog, "VariableComboBox")->currentText(), QString("values[10]"));
    auto* sizes = Control<QComboBox>(dialog, "SizeComboBox");
    EXPECT_EQ(sizes->currentText(), QString("None"));
    EXPECT_EQ(sizes->count(), 2);  // None and the integer n
    EXPECT_EQ(Control<QLabel>(dialog, "WhiteLabel")->text(),
              QString("All control characters and whitespace are considered to be delimiters."));
    EXPECT_TRUE(Control<QWidget>(dialog, "WSDelimiter")->isHidden());
    EXPECT_FALSE(Control<QWidget>(dialog, "DoCleanString")->isHidden());
    Press(dialog, "Browse");
    EXPECT_EQ(Control<QLineEdit>(dialog, "FileName")->text(), QString::fromStdString(path));
    QTest::keyClicks(Control<QLineEdit>(dialog, "FirstDelimiter"), " , ");
    Choose(dialog, "SizeComboBox", "n");
    Press(dialog, "Ok");
  });
  Trigger("ReadFileButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  const std::vector<TScriptedUserDialogs::TFileCall> choices = Dialogs.FileChoices();
  ASSERT_EQ(choices.size(), 1u);
  EXPECT_EQ(choices[0].Choice.DefaultExt, "txt");
  EXPECT_EQ(choices[0].Choice.Filter, "Text File (*.txt)|*.txt|All Files (*.*)|*.*");
  auto* read = OnlyCommand<TReadFileScript>(Start);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(Shown(read->AExpNode), QString("Read data.txt into values SC(n)"));
  EXPECT_EQ(read->GetFileToRead(), path);
  EXPECT_EQ(read->GetStoredData(), values);
  EXPECT_EQ(read->GetSecondStoredData(), count);
  EXPECT_EQ(read->GetDelimiter1(), ",");
  EXPECT_EQ(read->GetDelimiter2(), "");
  EXPECT_TRUE(read->GetCleanString());
  EXPECT_TRUE(Modified());

  // Changed: the second delimiter, no count, D to E off.
  Window->Session().ExperimentChanged(0, 1);
  TReadFileActor change([&](TReadFromFileForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "FirstDelimiter")->text(), QString(","));
    EXPECT_EQ(Control<QComboBox>(dialog, "SizeComboBox")->currentText(), QString("n"));
    QTest::keyClicks(Control<QLineEdit>(dialog, "SecondDelimiter"), ";");
    Choose(dialog, "SizeComboBox", "None");
    ClickControl(dialog, "DoCleanString");
    Press(dialog, "Ok");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  EXPECT_EQ(Shown(read->AExpNode), QString("Read data.txt into values SCN"));
  EXPECT_EQ(read->GetDelimiter2(), ";");
  EXPECT_EQ(read->GetSecondStoredData(), nullptr);
  EXPECT_FALSE(read->GetCleanString());
  EXPECT_TRUE(Modified());

  // Cancel leaves it as it was, but for the whitespace option of a number array, which
  // opening the dialog turns on.
  read->SetUpReadFile(path, values, false, false, ",", ";", nullptr);
  Window->Session().ExperimentChanged(0, 1);
  TReadFileActor cancel([&](TReadFromFileForm& dialog) {
    Retype(dialog, "FileName", "other.txt");
    Press(dialog, "Cancel");
  });
  DoubleClick(read->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(read->GetFileToRead(), path);
  EXPECT_TRUE(read->GetWSDelimiter());
  EXPECT_FALSE(Modified());
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TReadFileDialogTest, OkRefusesEachBadEntryWithItsText) {
  const std::string missing = Dir.PathOf("missing.txt");
  QString focus;
  EXPECT_EQ(Refusals({mbOK}, [](TReadFromFileForm& dialog) { Retype(dialog, "FileName", "  "); },
                     &focus),
            std::vector<std::string>{"You must name a file to read"});
  EXPECT_EQ(focus, QString("FileName"));
  // A missing file: No goes back to the path.
  const std::string question = "The file " + missing + " does not exist.  Do you wish to use it?";
  EXPECT_EQ(Refusals({mbNo},
                     [&](TReadFromFileForm& dialog) {
                       Retype(dialog, "FileName", QString::fromStdString(missing));
                     },
                     &focus),
            std::vector<std::string>{question});
  EXPECT_EQ(focus, QString("FileName"));
  // Yes goes on: without an array there is nothing to read into.
  Dialogs.ScriptAnswers({mbYes, mbOK});
  TReadFileActor actor([&](TReadFromFileForm& dialog) {
    Retype(dialog, "FileName", QString::fromStdString(missing));
    Press(dialog, "Ok");
    EXPECT_TRUE(dialog.isVisible());
    Press(dialog, "Cancel");
  });
  Trigger("ReadFileButton");
  ASSERT_TRUE(actor.Seen);
  const std::vector<TScriptedUserDialogs::TBoxCall> boxes = Dialogs.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Box.Caption, QString("Qorv Warning"));
  EXPECT_EQ(boxes[0].Box.Kind, TMessageKind::Warning);
  EXPECT_EQ(boxes[0].Box.Buttons, mbYes | mbNo);
  EXPECT_EQ(boxes[1].Box.Text.toStdString(),
            "You must select/add a variable to read the data into.");
  Dialogs.ClearCalls();

  const std::string path = Dir.WriteBytes("data.txt", {'1'});
  Array("values", eatINTEGER, 5);
  for (const char* edit : {"FirstDelimiter", "SecondDelimiter"}) {
    SCOPED_TRACE(edit);
    EXPECT_EQ(Refusals({mbOK},
                       [&](TReadFromFileForm& dialog) {
                         Retype(dialog, "FileName", QString::fromStdString(path));
                         Retype(dialog, edit, "ab");
                       },
                       &focus),
              std::vector<std::string>{"This can only be one character long"});
    EXPECT_EQ(focus, QString(edit));
  }
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(Modified());
}

TEST_F(TReadFileDialogTest, AnArrayMadeWithNewStaysOnlyWhenOkUsesIt) {
  const std::string path = Dir.WriteBytes("data.txt", {'1'});
  auto makeArray = [](const QString& name) {
    return [name](TDataForm& form) {
      QTest::keyClicks(Control<QLineEdit>(form, "VarName"), name);
      ClickControl(form, "StringButton");
      Press(form, "OK");
    };
  };
  {
    TModalDialogActor<TDataForm> array(makeArray("spare"));
    TReadFileActor actor([&](TReadFromFileForm& dialog) {
      Press(dialog, "NewArray");
      EXPECT_TRUE(array.Seen);
      EXPECT_EQ(Control<QComboBox>(dialog, "VariableComboBox")->currentText(), QString("spare[10]"));
      // A string array may keep its blanks.
      EXPECT_FALSE(Control<QWidget>(dialog, "WSDelimiter")->isHidden());
      EXPECT_EQ(Control<QLabel>(dialog, "WhiteLabel")->text(),
                QString("All control characters are considered to be delimiters."));
      Press(dialog, "Cancel");
    });
    Trigger("ReadFileButton");
    ASSERT_TRUE(actor.Seen);
  }
  EXPECT_EQ(Exp().GetDataArrayList()->GetCount(), 0);
  {
    TModalDialogActor<TDataForm> array(makeArray("lines"));
    TReadFileActor actor([&](TReadFromFileForm& dialog) {
      Retype(dialog, "FileName", QString::fromStdString(path));
      Press(dialog, "NewArray");
      ClickControl(dialog, "WSDelimiter");  // blanks stay in the text
      Press(dialog, "Ok");
    });
    Trigger("ReadFileButton");
    ASSERT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  ASSERT_EQ(Commands().size(), 1u);
  auto* read = dynamic_cast<TReadFileScript*>(Commands()[0]);
  ASSERT_NE(read, nullptr);
  ASSERT_NE(read->GetStoredData(), nullptr);
  EXPECT_EQ(read->GetStoredData()->GetDataName(), "lines");
  EXPECT_FALSE(read->GetWSDelimiter());
  EXPECT_EQ(Exp().GetDataArrayList()->GetCount(), 1);
}
