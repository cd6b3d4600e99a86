// Devices: the device file byte by byte for each kind of communication and back, the
// read errors of damaged files, the predefined commands and their printout.
#include "communication/device.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/device_list.h"
#include "communication/nat_gpib.h"
#include "communication/read_response.h"
#include "communication/rs232.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

// A new response's record: String, 1 point, ASCII, 100 bytes, ";", left to right.
const TBytes NewResponse = Cat({I32(0), I32(1), I32(0), I32(100), StringBytes(";"), B(true),
                                B(false), B(false), I32(0)});
const TBytes Head = Cat({StringBytes("Qorv Device"), StringBytes("Qorv 1.5")});

class DeviceTest : public TExperimentFixture {
protected:
  // Reads the bytes as a device file into a new device: the placement's answer; the
  // texts shown go to Shown.
  bool Load(const TBytes& bytes) {
    Ui.Clear();
    const bool placed =
        List.NewDevice()->LoadDeviceFile(Temp.WriteBytes("in.dev", bytes), List.GetPlacer());
    Shown = Ui.Texts();
    return placed;
  }
  // The one message a refused file shows.
  std::string LoadError(const TBytes& bytes) {
    EXPECT_FALSE(Load(bytes));
    EXPECT_EQ(Shown.size(), 1u);
    return Shown.empty() ? "" : Shown[0];
  }

  TDeviceList List{&Exp};
  TTexts Shown;
};

TEST_F(DeviceTest, DeviceFilesOfEachKindAreExactAndReadBack) {
  const TBytes image{0x89, 'P', 'N', 'G', 0, 0xFF};
  auto cec = std::make_unique<TCECGPIB>(0, 5, nullptr);
  cec->SetEOI(false);
  auto ni = std::make_unique<TNATGPIB>(1, 7, nullptr);
  ni->SetEOI(true);
  struct {
    std::unique_ptr<TCommunication> Communication;
    TBytes Settings;  // kind and settings record
    std::string Name;
  } kinds[] = {
      {std::make_unique<TRS232>(nullptr, 2),
       Cat({I32(0), I32(2), I32(19200), I32(1), I32(0), I32(0), I32(0), I32(1000000)}), "COM3"},
      {std::move(cec), Cat({I32(1), I32(0), I32(5), I32(10000), B(false)}),
       "CEC GPIB-Device Address: 5"},
      {std::move(ni), Cat({I32(2), I32(1), I32(7), I32(11), B(true)}),
       "National GPIB-Device Address: 7"},
  };
  for (auto& kind : kinds) {
    // CR LF appended, reads end at LF, "*IDN?" with a response, "*RST" bare, an icon.
    TDevice* device = List.NewDevice();
    TCoreDevice& core = device->GetCoreDevice();
    core.SetName("Meter");
    core.SetSendChar1(13);
    core.SetSendChar2(10);
    core.SetReadChar1(10);
    core.NewScript("*IDN?")->EnsureResponse();
    core.NewScript("*RST")->SetSendEndChars(false);
    const TIcon icon{image};
    core.SetIcon(&icon);
    device->SetCommunication(std::move(kind.Communication));
    const TBytes file = Cat({Head, StringBytes("Meter"), I32(13), I32(10), I32(10), I32(0),
                             B(true), I32(2), StringBytes("*IDN?"), B(true), B(true), NewResponse,
                             StringBytes("*RST"), B(false), B(false), B(true),
                             StringBytes("TImage"), I32(1), StringBytes("Picture"), I32(4), I32(6),
                             image, kind.Settings});
    ASSERT_TRUE(device->SaveDeviceFile(Temp.PathOf("meter.dev")));
    EXPECT_EQ(Temp.ReadBytes("meter.dev"), file) << kind.Name;

    TDevice* read = List.NewDevice();
    ASSERT_TRUE(read->LoadDeviceFile(Temp.PathOf("meter.dev"), List.GetPlacer()));
    EXPECT_EQ(read->GetFileName(), Temp.PathOf("meter.dev"));
    EXPECT_EQ(read->GetListItem().Caption, "Meter");
    EXPECT_EQ(read->GetListItem().Communication, kind.Name);
    EXPECT_EQ(read->GetDisplayName(), kind.Name + ": Meter");
    TIcon readIcon;
    EXPECT_FALSE(read->GetCoreDevice().GetIcon(readIcon));
    EXPECT_EQ(readIcon.Image, image);
    ASSERT_TRUE(read->SaveDeviceFile(Temp.PathOf("again.dev")));
    EXPECT_EQ(Temp.ReadBytes("again.dev"), file);
  }
  // The default icon is not written and reads back as index 0.
  const TBytes plain = Cat({Head, StringBytes("None"), I32(0), I32(0), I32(0), I32(0), B(false),
                            B(false), I32(1), I32(0), I32(5), I32(10000), B(true)});
  EXPECT_TRUE(Load(plain));
  EXPECT_EQ(List.GetDevice(List.Count() - 1)->GetCoreDevice().GetIconIndex(), 0);
  EXPECT_TRUE(Shown.empty());
  TDevice bare(nullptr);
  bare.UpdateListItem();
  EXPECT_EQ(bare.GetListItem().Caption + "|" + bare.GetListItem().Communication + "|" +
                bare.GetDisplayName(),
            "No name|No communication|None");
}

TEST_F(DeviceTest, DamagedDeviceFilesEndInTheirReadErrors) {
  const TBytes core = Cat({StringBytes("M"), I32(13), I32(10), I32(10), I32(0), B(false),
                           B(false)});
  const TBytes cec = Cat({I32(1), I32(0), I32(5), I32(1000), B(true)});
  const TBytes good = Cat({Head, core, cec});
  const auto chars = [&](std::int32_t first, std::int32_t last) {
    return Cat({Head, StringBytes("M"), I32(first), I32(0), I32(0), I32(last), B(false),
                B(false), cec});
  };
  EXPECT_EQ(LoadError(Cat({StringBytes("Qorv Device Configuration"), StringBytes("Qorv 1.5"),
                           I32(0)})),
            "Invalid device file.");
  EXPECT_EQ(LoadError({}), "Invalid device file.");
  EXPECT_EQ(LoadError(Cat({StringBytes("Qorv Device"), StringBytes("Qorv 9.9"), core, cec})),
            "Cannot read version Qorv 9.9");
  // Kinds, characters and settings that cannot be right.
  for (const TBytes& bytes :
       {Cat({Head, core, I32(3), I32(0), I32(5), I32(1000), B(true)}), Cat({Head, core, I32(-1)}),
        chars(256, 0), chars(0, -1), Cat({Head, core, I32(2), I32(0), I32(5), I32(18), B(true)}),
        Cat({Head, core, I32(0), I32(0), I32(9600), I32(3), I32(0), I32(0), I32(0), I32(10)}),
        Cat({Head, StringBytes("M"), I32(0), I32(0), I32(0), I32(0), B(true), I32(1),
             StringBytes("X"), B(true), B(true), I32(1), I32(1), I32(1), I32(5), StringBytes(""),
             B(true), B(false), B(false), I32(0), B(false), cec})})
    EXPECT_EQ(LoadError(bytes), "Invalid device file.");
  EXPECT_EQ(LoadError(TBytes(good.begin(), good.end() - 1)), "Stream read error");
  // Every shorter file ends in one message; every damaged byte reads or ends so too.
  for (std::size_t length = 0; length < good.size(); ++length)
    LoadError(TBytes(good.begin(), good.begin() + static_cast<long>(length)));
  for (std::size_t at = 0; at < good.size(); ++at) {
    TBytes damaged = good;
    damaged[at] ^= 0xFF;
    if (!Load(damaged)) {
      EXPECT_EQ(Shown.size(), 1u);
    }
  }
  // A missing file, and a save that cannot be made, are shown; the file name stays.
  EXPECT_TRUE(Load(good));
  EXPECT_TRUE(Shown.empty());
  TDevice* device = List.GetDevice(List.Count() - 1);
  Ui.Clear();
  EXPECT_FALSE(device->LoadDeviceFile(Temp.PathOf("missing.dev"), List.GetPlacer()));
  EXPECT_FALSE(device->SaveDeviceFile(Temp.PathOf("no/such.dev")));
  ASSERT_EQ(Ui.Texts().size(), 2u);
  EXPECT_NE(Ui.Texts()[0].find("missing.dev"), std::string::npos);
  EXPECT_EQ(device->GetFileName(), Temp.PathOf("in.dev"));
}

TEST_F(DeviceTest, PredefinedCommandsAndTheirPrintout) {
  TCoreDevice core(&List.GetImageList());
  TDeviceScript* idn = core.NewScript("*IDN?");
  EXPECT_EQ(idn->GetText(), "Send(*IDN?)");
  idn->SetSendEndChars(false);
  EXPECT_FALSE(idn->GetSendEndChars());
  idn->EnsureResponse();
  idn->SetSendEndChars(false);  // kept on while there is a response
  EXPECT_TRUE(idn->GetSendEndChars());
  idn->GetResponse()->SetNumberOfPoints(12);
  idn->GetResponse()->SetValueType(2);
  EXPECT_EQ(idn->GetText(), "Send(*IDN?)+Read(Float[12])");
  // A deleted command leaves the list; the editor's new commands are taken over.
  delete idn;
  std::vector<TDeviceScript*> copy{new TDeviceScript("*RST")};
  core.TakeScripts(copy);
  EXPECT_EQ(copy[0], nullptr);
  ASSERT_EQ(core.GetScriptCount(), 1);
  EXPECT_EQ(core.GetScript(0)->GetOwner(), &core);
  // A stored flag is taken as it stands, even off with a response.
  TDeviceScript read("none");
  read.Load(*Reader(Cat({StringBytes("Q"), B(false), B(true), NewResponse})));
  EXPECT_FALSE(read.GetSendEndChars());
  EXPECT_EQ(read.GetText(), "Send(Q)+Read(String)");

  core.SetSendChar1(10);
  core.SetSendChar2(13);
  core.SetReadChar1(27);
  core.SetReadChar2(255);
  core.NewScript("*IDN?")->EnsureResponse();
  TLineReport lines("<b>");
  core.DescribeCoreDevice(lines, 0, true);
  EXPECT_EQ(lines.Lines, (TTexts{"\t\tEOI: No",
                                 "\t\tFirst character to append to each Send string:\t\\n",
                                 "\t\tSecond character to append to each Send string:\t\\r",
                                 "\t\tFirst character to end read:\t0x01B",
                                 "\t\tSecond character to end read:\t0x0FF",
                                 "",
                                 "<b>\tDevice Commands",
                                 "",
                                 "<b>\t\tCommand: *RST",
                                 "\t\t\tResponse: No response.",
                                 "<b>\t\tCommand: *IDN?",
                                 "\t\t\tResponse: String",
                                 "\t\t\tRead As: ASCII",
                                 "\t\t\tNumber of Bytes/Point: 100",
                                 ""}));
  TLineReport bare("<b>");
  TCoreDevice(&List.GetImageList()).DescribeCoreDevice(bare, 1, true);
  EXPECT_EQ(bare.Lines[0], "\t\tEOI: Yes");
  EXPECT_EQ(bare.Lines[8], "No device commands");
  TLineReport serial("<b>");
  core.DescribeCoreDevice(serial, -1, false);
  EXPECT_EQ(serial.Lines.size(), 4u);
}

}  // namespace
