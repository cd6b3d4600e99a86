// What the device commands' dialogs are offered before they open: the devices of the
// session's list by kind, the messages when there is none, and Clear Device Buffer's new
// command made without its dialog only once the target block is found.
#include <gtest/gtest.h>

#include "model/experiment.h"
#include "scripts/command_devices.h"
#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/device/device_fixture.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_rs232_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"
#include "scripts/script_request.h"

namespace {

class DeviceScriptRequestsTest : public TDeviceFixture {
 protected:
  DeviceScriptRequestsTest() {
    SetCommandDevices(&Devices);
    Ui.SetDialogHandler([this](TDialogRequest& request) {
      Opened.push_back(dynamic_cast<TScriptRequest*>(&request));
      if (auto* devices = dynamic_cast<TDeviceScriptRequest*>(&request)) Offered = devices->Devices;
      return 0;
    });
  }
  ~DeviceScriptRequestsTest() override { SetCommandDevices(nullptr); }

  std::vector<TScriptRequest*> Opened;
  std::vector<TDevice*> Offered;
};

TEST_F(DeviceScriptRequestsTest, EachDialogIsOfferedTheDevicesOfItsKind) {
  Exp.SelectBlock(B1->AExpNode);
  // A device still without a communication is offered to none of the kind-bound dialogs.
  TDevice* bare = Devices.NewDevice();
  NewScript(Exp, TScript::SENDGPIB);
  EXPECT_EQ(Offered, (std::vector<TDevice*>{Meter, Scope}));
  NewScript(Exp, TScript::SERIALPOLL);
  EXPECT_EQ(Offered, (std::vector<TDevice*>{Meter, Scope}));
  NewScript(Exp, TScript::SENDRS232);
  EXPECT_EQ(Offered, (std::vector<TDevice*>{Pump}));
  NewScript(Exp, TScript::SENDBINARY);
  EXPECT_EQ(Offered, (std::vector<TDevice*>{Meter, Scope, Pump}));
  // From the device list: Send and Serial Poll offer that device alone.
  NewScript(Exp, TScript::SEND, Scope);
  EXPECT_EQ(Offered, std::vector<TDevice*>{Scope});
  NewScript(Exp, TScript::SERIALPOLL, Meter);
  EXPECT_EQ(Offered, std::vector<TDevice*>{Meter});
  NewScript(Exp, TScript::SENDGPIB, Scope);
  EXPECT_EQ(Offered, (std::vector<TDevice*>{Meter, Scope}));
  EXPECT_EQ(Opened.size(), 7u);
  EXPECT_TRUE(Ui.Texts().empty());
  Devices.RemoveDevice(bare);
}

TEST_F(DeviceScriptRequestsTest, WithoutADeviceOfItsKindANewCommandsDialogStaysShut) {
  Exp.SelectBlock(B1->AExpNode);
  Devices.RemoveDevice(Pump);
  EXPECT_EQ(NewScript(Exp, TScript::SENDRS232), 0);
  Devices.RemoveDevice(Meter);
  Devices.RemoveDevice(Scope);
  for (int type : {TScript::SEND, TScript::SENDGPIB, TScript::SERIALPOLL, TScript::SENDBINARY,
                   TScript::SENDRS232, TScript::CLEARDEVICEBUFFER})
    EXPECT_EQ(NewScript(Exp, type), 0) << type;
  EXPECT_TRUE(Opened.empty());
  EXPECT_EQ(Ui.Texts(),
            (TTexts{"These commands can only be sent to RS232 Devices. There are no RS232 devices.",
                    "Can only send commands to devices.  There are no devices defined.",
                    "Commands can only be sent to devices.  There are no devices.",
                    "Commands can only be sent to devices.  There are no devices.",
                    "Can only send commands to devices.  There are no devices defined.",
                    "Commands can only be sent to devices.  There are no devices.",
                    "There are no devices to clear."}));
}

TEST_F(DeviceScriptRequestsTest, ClearDeviceBufferFindsTheBlockBeforeItMakesTheCommand) {
  // No blank line anywhere: asked for a block, nothing made, for a device given too.
  EXPECT_EQ(NewScript(Exp, TScript::CLEARDEVICEBUFFER, Scope), 0);
  Devices.RemoveDevice(Meter);
  Devices.RemoveDevice(Pump);
  EXPECT_EQ(NewScript(Exp, TScript::CLEARDEVICEBUFFER), 0);
  EXPECT_EQ(Ui.Texts(), (TTexts{"You must select a block before you can add a script.",
                                "You must select a block before you can add a script."}));
  EXPECT_EQ(B1->GetFirstScript(), nullptr);
  EXPECT_EQ(B2->GetFirstScript(), nullptr);

  // The one device there is: made at once, without the dialog, and the experiment marked.
  Exp.SelectBlock(B2->AExpNode);
  Ui.Clear();
  EXPECT_EQ(NewScript(Exp, TScript::CLEARDEVICEBUFFER), 1);
  auto* clear = dynamic_cast<TClearDeviceBufferScript*>(B2->GetFirstScript());
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(clear->GetDevice(), Scope);
  EXPECT_EQ(clear->GetText(), "Clear Read Buffer: Scope");
  EXPECT_TRUE(Opened.empty());
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));
  // Nothing to choose when it is changed.
  EXPECT_EQ(clear->Edit(), 0);
  EXPECT_EQ(Ui.Texts(), TTexts{"There is only one device to clear, there is nothing to edit."});
  EXPECT_TRUE(Opened.empty());
}

}  // namespace
