// The settings seeds: settings as the main window collects them at closing, written by
// TIniregQorv::Write into a store held in memory, and that store as the harness's bytes;
// a store left by a longer list, and a few hand-damaged ones.
#include <cstdint>
#include <limits>
#include <string>

#include "seeds/seed_writer.h"
#include "shell/memory_settings_store.h"
#include "shell/settings.h"
#include "support/settings_bytes.h"

namespace {

void Write(const TSeedWriter& seeds, const std::string& name, const TMemorySettingsStore& store) {
  seeds.Write("settings_values", name, settings_bytes::Bytes(store));
}

}  // namespace

void MakeSettingsSeeds(const TSeedWriter& seeds) {
  Write(seeds, "empty", TMemorySettingsStore());

  TIniregQorv closing;
  closing.SetAutoDetect(false);
  closing.SetNumberOfNationalCards(2);
  closing.SetNumberOfCECCards(1);
  closing.AddFile("&0 /home/ann/run 3.qve");
  closing.AddFile("&1 /data/sweep.qve");
  closing.AddFile("&2 /data/Messung ü.qve");
  closing.SetOutputDirectory("/home/ann/out");
  closing.SetDeviceDirectory("/home/ann/devices");
  closing.SetExperimentDirectory("/data");
  closing.SetBlockDirectory("/data/blocks");
  closing.AddIconFile("/usr/share/icons/meter.bmp");
  closing.AddIconFile("/home/ann/scope.ico");
  TMemorySettingsStore store;
  closing.Write(store);
  Write(seeds, "closing", store);

  // A later run with one recent file leaves the higher ones of this run behind.
  TIniregQorv shorter;
  shorter.AddFile("&0 /data/only.qve");
  shorter.Write(store);
  Write(seeds, "shorter", store);

  TIniregQorv defaults;
  TMemorySettingsStore plain;
  defaults.Write(plain);
  Write(seeds, "defaults", plain);

  TMemorySettingsStore damaged;
  closing.Write(damaged);
  damaged.Set("NumberOfFiles", std::numeric_limits<std::int32_t>::max());
  damaged.Set("Experiment2147483646", std::string("&9 /far.qve"));
  damaged.Set("Experiment1", std::string());
  damaged.Set("IconFileName0", 12);
  damaged.Set("NumberofCECCards", 9);
  damaged.Set("AutoDetect", std::string("true"));
  damaged.Set("NumberOfIconFiles", -1);
  Write(seeds, "damaged", damaged);
}
