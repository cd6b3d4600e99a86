// Experiment and block files: their layout byte by byte, save-reopen-save identity,
// files of an older version, the read errors of bad, truncated and damaged files, and
// what a failed save or open leaves behind.
#include "shell/experiment_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/rs232.h"
#include "model/data_list.h"
#include "model/number_text.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "outputs/graph_form.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/device/device_attribute_script.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/outputs/plot_script.h"
#include "support/experiment_fixture.h"

namespace {

using TChanges = std::vector<std::pair<int, int>>;

TBytes Head(const std::string& header, const std::string& version = "Qorv 1.5") {
  return Cat({StringBytes(header), StringBytes(version)});
}
// A box record: caption, no icon, corner, block identifier.
TBytes Box(const std::string& caption, std::int32_t x, std::int32_t y, std::int32_t id) {
  return Cat({StringBytes(caption), B(false), I32(x), I32(y), I32(id)});
}
TBytes Prefix(const TBytes& bytes, std::size_t length) {
  return TBytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}
// The bytes without the last int32 (an empty device section).
TBytes Body(const TBytes& file) { return Prefix(file, file.size() - 4); }
// The bytes with the first `from` in them replaced by `to`.
TBytes Patched(TBytes bytes, const TBytes& from, const TBytes& to) {
  const auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
  if (at == bytes.end()) ADD_FAILURE() << "nothing to patch";
  if (at != bytes.end()) bytes.insert(bytes.erase(at, at + std::ssize(from)), to.begin(), to.end());
  return bytes;
}

// A UI port that runs out of memory once armed, when a read tells of the change it made.
struct TNoMemoryUi : TFakeUiPort {
  void ExperimentChanged(int modified, int refresh) override {
    if (refresh == 0 && std::exchange(Armed, false)) throw std::bad_alloc();
    TFakeUiPort::ExperimentChanged(modified, refresh);
  }
  bool Armed = true;
};

// A device command that only uses its device.
class TDeviceStub : public TDeviceAttributeScript {
public:
  using TDeviceAttributeScript::TDeviceAttributeScript;
  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  std::string GetText() override { return "Use"; }
  int GetScriptType() const override { return TScript::SEND; }
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return true; }
  bool IsStoredVariable(TVariable*) override { return false; }
};

class ExperimentFileTest : public TExperimentFixture {
protected:
  // A block on a new box at the point, as the user adds one.
  TBlock* AddBlockAt(const std::string& caption, TPoint at) {
    return Exp.AddBlock(Parts.AddBlock(caption, at));
  }
  // Three blocks in a row, with variables in two of them.
  void Build() {
    TBlock* start = AddBlockAt("first", {10, 20});
    TBlock* heater = AddBlockAt("Heater", {200, 20});
    TBlock* cooler = AddBlockAt("Cooler", {200, 300});
    Line(start, heater);
    Line(heater, cooler);
    Exp.GetDataSingleList()->Add(heater, 1, 1, "x")->SetInitialValue("5");
    Exp.GetDataSingleList()->Add(start, 0, 1, "s");
    Exp.GetDataArrayList()->Add(cooler, 2, 4, "a");
    Exp.SelectBlock(heater->AExpNode);
  }
  std::string Save(const std::string& name, TExperiment& exp, TDrawParts& parts) {
    std::string error;
    EXPECT_TRUE(SaveExperimentFile(Temp.PathOf(name), exp, parts, nullptr, error)) << error;
    return Temp.PathOf(name);
  }
  // Opens the bytes as an experiment file; answers the error's message ("" when read).
  std::string OpenError(const TBytes& bytes) {
    TDrawParts parts;
    std::string error;
    auto exp = OpenExperimentFile(Temp.WriteBytes("open.qve", bytes), parts, nullptr, error);
    EXPECT_EQ(exp == nullptr, !error.empty());
    if (!exp) {
      EXPECT_EQ(parts.Count(), 0);  // the diagram is cleared
    }
    exp.reset();
    return error;
  }
  static TBlock* BlockAt(TExperiment& exp, int index) {
    return BlockOfNode(exp.GetExperimentTree().Item(index));
  }
};

TEST_F(ExperimentFileTest, LayoutOfNewAndOneBlockExperiments) {
  const std::string path = Save("new.qve", Exp, Parts);
  const TBytes empty = Cat({Head("Qorv Experiment"), I32(0),     // header, version, diagram
                            StringBytes("new.qve"), B(false),    // title, no blocks
                            I32(0), I32(0), I32(0), I32(0)});    // outputs, files, devices
  EXPECT_EQ(Temp.ReadBytes("new.qve"), empty);
  std::string error;
  TDrawParts parts;
  auto read = OpenExperimentFile(path, parts, nullptr, error);
  ASSERT_NE(read, nullptr) << error;
  EXPECT_EQ(read->GetTitle(), "new.qve");
  EXPECT_EQ(read->GetFileName(), path);
  EXPECT_FALSE(read->HasBlocks());

  // One block: its box, its record without the blank line, and the variable sections.
  AddBlockAt("Box", {3, 4});
  Save("one.qve", Exp, Parts);
  EXPECT_EQ(Temp.ReadBytes("one.qve"),
            Cat({Head("Qorv Experiment"), I32(1), I32(0), Box("Start Block", 3, 4, 100),
                 StringBytes("one.qve"), B(true), I32(100), B(true), B(false), B(false),
                 I32(0), I32(0), I32(0), I32(0), I32(0), I32(0)}));
  EXPECT_EQ(Ui.ExperimentChanges().back(), (std::pair<int, int>{0, 0}));
}

TEST_F(ExperimentFileTest, ReopenedFilesSaveTheSameBytesAndDamageNeverEndsTheProgram) {
  Build();
  const std::string path = Save("three.qve", Exp, Parts);
  const TBytes first = Temp.ReadBytes("three.qve");

  TDrawParts parts;
  std::string error;
  Ui.Clear();
  auto read = OpenExperimentFile(path, parts, nullptr, error);
  ASSERT_NE(read, nullptr) << error;
  EXPECT_EQ(Ui.ExperimentChanges(), (TChanges{{0, 1}, {0, 0}}));
  EXPECT_EQ(Ui.Caption(), "Qorv Current Experiment: three.qve");
  TBlock* start = BlockAt(*read, 0);
  TBlock* heater = BlockAt(*read, 1);
  TBlock* cooler = BlockAt(*read, 2);
  EXPECT_EQ(start->GetTitle(), "Start Block");
  EXPECT_TRUE(start->IsStartBlock() && !heater->IsStartBlock() && !cooler->IsStartBlock());
  EXPECT_EQ(start->GetNextBlock(), heater);
  EXPECT_EQ(heater->GetNextBlock(), cooler);
  EXPECT_EQ(cooler->GetNextBlock(), nullptr);
  EXPECT_EQ(cooler->GetDrawBlock()->GetPosition(), (TPoint{200, 300}));
  EXPECT_EQ(read->GetCurrentBlock(), start);
  EXPECT_EQ(Ui.StatusText(1), "Start Block");
  EXPECT_EQ(read->PreRunCheck(), start);

  read->SelectFirstBlock();
  Save("three.qve", *read, parts);
  EXPECT_EQ(Temp.ReadBytes("three.qve"), first);

  // Cut short, the file ends in a read error unless only the device section is missing.
  for (std::size_t length = 0; length < first.size(); ++length) {
    const std::string cut = OpenError(Prefix(first, length));
    EXPECT_EQ(cut.empty(), length == first.size() - 4) << "cut at " << length;
  }
  // Every byte damaged in turn: the file reads, or ends in a read error, and a file that
  // reads can be saved again.
  for (std::size_t at = 0; at < first.size(); ++at) {
    TBytes damaged = first;
    damaged[at] ^= 0xFF;
    TDrawParts diagram;
    auto exp = OpenExperimentFile(Temp.WriteBytes("damaged.qve", damaged), diagram, nullptr, error);
    if (exp) {
      EXPECT_TRUE(SaveExperimentFile(Temp.PathOf("again.qve"), *exp, diagram, nullptr, error))
          << error;
    } else {
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(diagram.Count(), 0);
    }
  }
}

TEST_F(ExperimentFileTest, OlderVersionsAndBadFilesEndInTheirReadErrors) {
  const TBytes diagram = Cat({I32(1), I32(0), Box("Only", 0, 0, 100)});
  const TBytes block = Cat({StringBytes("t"), B(true), I32(100), B(true), B(false), B(false)});
  const TBytes zeros = Cat({I32(0), I32(0)});
  const struct {
    TBytes bytes;
    const char* error;  // "": read
  } cases[] = {
      // 1.3 files have no data-file sections.
      {Cat({Head("Qorv Experiment", "Qorv 1.3"), diagram, block, I32(0), zeros, I32(0)}), ""},
      {Cat({Head("Qorv Experiment"), diagram, block, I32(0), zeros, zeros}), ""},  // no devices
      {Cat({Head("Qorv Block"), diagram, block}), "Bad experiment file...aborting read"},
      {TBytes{}, "Bad experiment file...aborting read"},
      {Cat({Head("Qorv Experiment", "Qorv 9.9"), diagram}),
       "Cannot read this version number Qorv 9.9"},
      // Sections whose counts the rest of the file cannot hold.
      {Cat({Head("Qorv Experiment"), diagram, block, I32(1)}), "Stream read error"},
      {Cat({Head("Qorv Experiment"), diagram, block, I32(0), I32(0), I32(1)}),
       "Stream read error"},
      {Cat({Head("Qorv Experiment"), diagram, block, I32(0), zeros, zeros, I32(2)}),
       "Devices are not supported in this version"},
      // A box that shows no block read.
      {Cat({Head("Qorv Experiment"), I32(2), I32(0), Box("Only", 0, 0, 100), I32(0),
            Box("Spare", 0, 0, 101), block, I32(0), zeros, zeros, I32(0)}),
       "A box of the block diagram shows no block...aborting read"},
  };
  for (const auto& c : cases) EXPECT_EQ(OpenError(c.bytes), c.error);

  // A Decision saved before its condition was defined (two lines drawn, nothing more)
  // opens again, not defined; its run is refused until it is.
  TBlock* a = AddBlock("A");
  Line(a, AddBlock("Yes"));
  Line(a, AddBlock("No"));
  Save("decision.qve", Exp, Parts);
  EXPECT_EQ(OpenError(Temp.ReadBytes("decision.qve")), "");
}

// The variables bind their commands after the last variable is read, but a variable
// whose saved user count is one off still refuses the file first, however the rest of
// the file is damaged; the commands show the texts they had when saved.
TEST_F(ExperimentFileTest, AVariablesUserCountRefusesTheFileBeforeLaterDamage) {
  TBlock* start = AddBlockAt("first", {10, 20});
  TBlock* heater = AddBlockAt("Heater", {200, 20});
  Line(start, heater);
  auto* x = static_cast<TDataSingle*>(Exp.GetDataSingleList()->Add(heater, eatINTEGER, 1, "x"));
  Exp.GetDataArrayList()->Add(heater, eatFLOAT, 4, "a");
  Cur = heater;
  Increment(x, "2");
  TIfThenScript* ifthen = If(x, "3");
  Increment(x, "1", ifthen);
  EndIf(ifthen);
  const std::string saved = Outline(heater->AExpNode);
  const std::int32_t users = x->GetUserCount();
  ASSERT_GE(users, 3);
  Save("counted.qve", Exp, Parts);
  const TBytes file = Temp.ReadBytes("counted.qve");

  TDrawParts parts;
  std::string error;
  auto read = OpenExperimentFile(Temp.PathOf("counted.qve"), parts, nullptr, error);
  ASSERT_NE(read, nullptr) << error;
  EXPECT_EQ(Outline(BlockAt(*read, 1)->AExpNode), saved);
  read.reset();

  // Every place that holds the count, raised by one: where that is x's count, cutting
  // the file anywhere after the count and identifier gives the same refusal.
  int counts = 0;
  for (std::size_t at = 0; at + 4 <= file.size(); ++at) {
    const TBytes count(file.begin() + static_cast<std::ptrdiff_t>(at),
                       file.begin() + static_cast<std::ptrdiff_t>(at + 4));
    if (count != I32(users)) continue;
    TBytes damaged = file;
    damaged[at] = static_cast<std::uint8_t>(damaged[at] + 1);
    if (OpenError(damaged) != "Error reading attribute") continue;
    ++counts;
    for (std::size_t length = at + 8; length < damaged.size(); ++length)
      EXPECT_EQ(OpenError(Prefix(damaged, length)), "Error reading attribute")
          << at << " " << length;
  }
  EXPECT_GE(counts, 1);
}

TEST_F(ExperimentFileTest, AFailedSaveKeepsTheOldFileAndTheExperimentsAccount) {
  Build();
  const std::string path = Save("kept.qve", Exp, Parts);
  const TBytes old = Temp.ReadBytes("kept.qve");
  TBlock* heater = BlockAt(Exp, 1);
  const auto failed = [&](const std::string& target, const TChanges& changes) {
    Ui.Clear();
    std::string error;
    EXPECT_FALSE(SaveExperimentFile(target, Exp, Parts, nullptr, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Exp.GetTitle(), "kept.qve");
    EXPECT_EQ(Exp.GetFileName(), path);
    EXPECT_EQ(Ui.ExperimentChanges(), changes);
    EXPECT_EQ(Exp.GetCurrentBlock(), heater);  // the blank line is back
  };
  failed(Temp.PathOf("missing/other.qve"), {});
  // The body is written, the file cannot take the place of the directory: the mark that
  // the body cleared is set again.
  std::filesystem::create_directory(Temp.PathOf("folder.qve"));
  failed(Temp.PathOf("folder.qve"), {{0, 0}, {1, 0}});
  EXPECT_EQ(Temp.ReadBytes("kept.qve"), old);
}

TEST_F(ExperimentFileTest, BlockFilesCarryOneBlockIntoAnotherExperiment) {
  Build();
  TBlock* heater = BlockAt(Exp, 1);
  TBlock* cooler = BlockAt(Exp, 2);
  std::string error;
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("cooler.blk"), Exp, cooler, nullptr, error)) << error;
  // The block's box, its record, no outputs, its array, no singles, no files or devices.
  const TBytes coolerFile = Temp.ReadBytes("cooler.blk");
  const TBytes head = Cat({Head("Qorv Block"), Box("Cooler", 200, 300, 100), I32(100),
                           B(false), I32(0), I32(0), I32(1), I32(2)});
  ASSERT_GT(coolerFile.size(), head.size());
  EXPECT_EQ(Prefix(coolerFile, head.size()), head);
  EXPECT_EQ(TBytes(coolerFile.end() - 12, coolerFile.end()), Cat({I32(0), I32(0), I32(0)}));
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("heater.blk"), Exp, heater, nullptr, error)) << error;
  EXPECT_EQ(heater->GetBlockFileName(), Temp.PathOf("heater.blk"));

  TDrawParts parts;
  TExperiment other;
  Ui.Clear();
  TBlock* first = OpenBlockFile(Temp.PathOf("heater.blk"), other, parts, {7, 9}, nullptr, error);
  ASSERT_NE(first, nullptr) << error;
  EXPECT_EQ(first->GetTitle(), "Heater");
  EXPECT_EQ(first->GetDrawBlock()->GetPosition(), (TPoint{7, 9}));
  EXPECT_TRUE(first->IsStartBlock());  // the experiment had no block
  EXPECT_EQ(other.GetCurrentBlock(), first);
  EXPECT_EQ(Ui.ExperimentChanges(), (TChanges{{1, 0}}));
  EXPECT_EQ(other.GetDataSingleList()->GetCount(), 1);
  // Bad, truncated and damaged block files leave the experiment as it was.
  const auto unchanged = [&](const TBytes& bytes, const std::string& expected) {
    const std::string file = Temp.WriteBytes("bad.blk", bytes);
    EXPECT_EQ(OpenBlockFile(file, other, parts, {}, nullptr, error), nullptr);
    if (!expected.empty()) {
      EXPECT_EQ(error, expected);
    }
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(parts.Count(), 1);
    EXPECT_EQ(other.GetExperimentTree().Count(), 1);
    EXPECT_EQ(other.GetDataArrayList()->GetCount(), 0);
    EXPECT_EQ(other.GetCurrentBlock(), first);
  };
  unchanged(Cat({Head("Qorv Experiment"), Box("X", 0, 0, 100)}),
            "Bad block file...aborting read");
  unchanged(Cat({Head("Qorv Block", "Qorv 2.0")}), "Cannot read this version number Qorv 2.0");
  TBytes otherBlock = coolerFile;
  otherBlock[head.size() - 20] = 0x55;  // the record's identifier is not the box's
  unchanged(otherBlock, "");
  for (std::size_t length = 0; length + 4 < coolerFile.size(); ++length)
    unchanged(Prefix(coolerFile, length), "");

  TBlock* second = OpenBlockFile(Temp.PathOf("cooler.blk"), other, parts, {50, 60}, nullptr, error);
  ASSERT_NE(second, nullptr) << error;
  EXPECT_FALSE(second->IsStartBlock());
  EXPECT_TRUE(first->IsStartBlock());
  EXPECT_EQ(other.GetCurrentBlock(), second);
  EXPECT_EQ(other.GetDataArrayList()->GetCount(), 1);
}

TEST_F(ExperimentFileTest, DevicesTravelWithExperimentAndBlockFiles) {
  Build();
  TDeviceList devices(&Exp);
  TDevice* meter = devices.NewDevice();
  meter->GetCoreDevice().SetName("Meter");
  auto cec = std::make_unique<TCECGPIB>(0, 5, nullptr);
  cec->SetEOI(true);
  meter->SetCommunication(std::move(cec));
  TDevice* pump = devices.NewDevice();
  pump->GetCoreDevice().SetName("Pump");
  pump->SetCommunication(std::make_unique<TRS232>(nullptr, 1));
  const auto record = [](const std::string& name, const TBytes& settings) {
    return Cat({StringBytes(name), I32(0), I32(0), I32(0), I32(0), B(false), B(false), settings});
  };
  const TBytes meterRecord = record("Meter", Cat({I32(1), I32(0), I32(5), I32(10000), B(true)}));
  const TBytes pumpRecord = record("Pump", Cat({I32(0), I32(1), I32(19200), I32(1), I32(0), I32(0),
                                                I32(0), I32(1000000)}));

  // Experiment files: every device, each followed by the identifiers of its commands.
  Save("d.qve", Exp, Parts);  // without a device list: an empty section
  const TBytes body = Body(Temp.ReadBytes("d.qve"));
  std::string error;
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("d.qve"), Exp, Parts, &devices, error)) << error;
  const TBytes file = Cat({body, I32(2), meterRecord, I32(0), pumpRecord, I32(0)});
  EXPECT_EQ(Temp.ReadBytes("d.qve"), file);
  TDeviceList read(nullptr);
  {
    TDrawParts parts;
    auto exp = OpenExperimentFile(Temp.PathOf("d.qve"), parts, &read, error);
    ASSERT_NE(exp, nullptr) << error;
    ASSERT_EQ(read.Count(), 2u);
    EXPECT_EQ(read.GetDevice(1)->GetListItem().Communication, "COM2");
    ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("d.qve"), *exp, parts, &read, error)) << error;
    EXPECT_EQ(Temp.ReadBytes("d.qve"), file);
  }
  EXPECT_EQ(OpenError(file), "Devices are not supported in this version");
  // A record that cannot be right ends the read with the file's message; the devices the
  // file added go again, as do those of a cut file.
  const auto failed = [&](const TBytes& bytes, const std::string& expected) {
    TDrawParts parts;
    EXPECT_EQ(OpenExperimentFile(Temp.WriteBytes("bad.qve", bytes), parts, &read, error), nullptr);
    EXPECT_EQ(error, expected);
    EXPECT_EQ(read.Count(), 2u);
  };
  failed(Cat({body, I32(2), meterRecord, I32(0), record("Bad", I32(3))}),
         "Bad experiment file...aborting read");
  failed(Cat({body, I32(2), meterRecord, I32(1), I32(-5)}), "Bad experiment file...aborting read");
  failed(Prefix(file, file.size() - 1), "Stream read error");

  // Block files: only the devices the block's commands use, with those commands.
  TBlock* heater = BlockAt(Exp, 1);
  TBlock* cooler = BlockAt(Exp, 2);
  auto* stub = new TDeviceStub(cooler, NewNode(cooler));
  stub->SetDevice(pump);
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("c.blk"), Exp, cooler, &devices, error)) << error;
  const TBytes coolerFile = Temp.ReadBytes("c.blk");
  const TBytes tail = Cat({I32(1), pumpRecord, I32(1), I32(101)});  // box and block: 100
  ASSERT_GT(coolerFile.size(), tail.size());
  EXPECT_EQ(TBytes(coolerFile.end() - static_cast<long>(tail.size()), coolerFile.end()), tail);
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("h.blk"), Exp, heater, &devices, error)) << error;
  const TBytes heaterFile = Temp.ReadBytes("h.blk");
  EXPECT_EQ(TBytes(heaterFile.end() - 4, heaterFile.end()), I32(0));
  // Their devices join the list when the block is read; a bad one leaves it as it was.
  TDrawParts parts;
  TExperiment other;
  EXPECT_EQ(OpenBlockFile(Temp.WriteBytes("bad.blk", Cat({Body(heaterFile), I32(2), meterRecord,
                                                          I32(0), record("Bad", I32(-1))})),
                          other, parts, {}, &read, error),
            nullptr);
  EXPECT_EQ(error, "Bad block file...aborting read");
  EXPECT_EQ(read.Count(), 2u);
  TBlock* block = OpenBlockFile(Temp.WriteBytes("m.blk", Cat({Body(heaterFile), I32(1),
                                                              meterRecord, I32(0)})),
                                other, parts, {}, &read, error);
  ASSERT_NE(block, nullptr) << error;
  ASSERT_EQ(read.Count(), 3u);
  EXPECT_EQ(read.GetDevice(2)->GetDisplayName(), "CEC GPIB-Device Address: 5: Meter");
}

TEST_F(ExperimentFileTest, HugeCountsReadInMemoryOfTheFileOrAreRefusedNamingTheArray) {
  // A fixed graph (block files carry it for the Plot) and arrays with initial values.
  TBlock* block = AddBlockAt("first", {10, 20});
  TOutput* graph = Exp.GetOutputList()->NewOutput("G", otGRAPH, 1);
  graph->GetOutputForm()->SetNumberFormat(ntFIXED, 17);
  (new TPlotScript(block, NewNode(block)))
      ->SetUpYOnly(graph, Exp.GetDataSingleList()->Add(block, eatFLOAT, 1, "y"), true, 0, nullptr);
  Exp.GetDataArrayList()->Add(block, eatINTEGER, 3, "big")->SetInitialValue("7");
  TData* text = Exp.GetDataArrayList()->Add(block, eatSTRING, 3, "text");
  text->SetInitialValue(std::string(1 << 16, 'x'));  // a long text in each element
  std::string error;
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("h.blk"), Exp, block, nullptr, error)) << error;
  Save("h.qve", Exp, Parts);
  const TBytes files[] = {Temp.ReadBytes("h.qve"), Temp.ReadBytes("h.blk")};
  // 2^31 - 1 decimal places; the arrays of the size.
  const auto hostile = [](TBytes file, std::int32_t size) {
    file = Patched(file, Cat({I32(17), I32(1)}), Cat({I32(0x7FFFFFFF), I32(1)}));
    for (const char* name : {"big", "text"})
      file = Patched(file, Cat({StringBytes(name), I32(3)}), Cat({StringBytes(name), I32(size)}));
    return file;
  };
  const std::string over = "Error reading data: the array big has 16777217 elements, more than "
                           "the largest array of 16777216";
  EXPECT_EQ(OpenError(hostile(files[0], MaxArraySize + 1)), over);
  TDrawParts parts, boxes;
  TExperiment other;  // goes before its boxes
  EXPECT_EQ(OpenBlockFile(Temp.WriteBytes("b.blk", hostile(files[1], MaxArraySize + 1)), other,
                          boxes, {}, nullptr, error),
            nullptr);
  EXPECT_EQ(error, over);
  ASSERT_NE(OpenBlockFile(Temp.WriteBytes("b.blk", hostile(files[1], MaxArraySize)), other, boxes,
                          {}, nullptr, error),
            nullptr);
  auto read = OpenExperimentFile(Temp.WriteBytes("h.qve", hostile(files[0], MaxArraySize)), parts,
                                 nullptr, error);
  ASSERT_NE(read, nullptr) << error;
  // Read, they hold their counts but no more memory than the file.
  for (TExperiment* exp : {&other, read.get()}) {
    const TOutputForm& form = *exp->GetOutputList()->GetOutput(0)->GetOutputForm();
    EXPECT_EQ(form.GetDecimalPlaces(), 18);
    EXPECT_EQ(dynamic_cast<const TGraphForm&>(form).GetAxisValuesFormat(),
              "0." + std::string(18, '0'));
    std::vector<TData*> arrays;
    exp->GetDataArrayList()->GetAll(arrays);
    EXPECT_EQ(arrays.size(), 2u);
    for (TData* array : arrays) {
      EXPECT_EQ(array->GetSize(), MaxArraySize);
      EXPECT_FALSE(static_cast<TDataArray*>(array)->GetValueArray().HasStorage());
    }
  }
  read->SelectFirstBlock();
  Save("h.qve", *read, parts);  // the bytes read, with the places shown
  EXPECT_EQ(Temp.ReadBytes("h.qve"),
            Patched(hostile(files[0], MaxArraySize), I32(0x7FFFFFFF), I32(18)));
}

TEST_F(ExperimentFileTest, ACalculateIntoTheEntireArrayIsRefusedAtOpenNotAtItsRun) {
  // A Calculate storing into arr[n], as its dialog makes it.
  TBlock* block = AddBlockAt("first", {10, 20});
  TData* n = Exp.GetDataSingleList()->Add(block, eatINTEGER, 1, "n");
  n->SetInitialValue("2");
  TData* arr = Exp.GetDataArrayList()->Add(block, eatINTEGER, 4, "arr");
  auto* calculate = new TCalculateScript(block, NewNode(block));
  TCalculateExpression compiled = CompileCalculateExpression(&Exp, calculate, "6*7", true);
  calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), arr);
  auto& index = static_cast<TVariableDataArray*>(calculate->GetStoredVariable())->GetArrayIndex();
  index.SetIndexVariable(static_cast<TDataSingle*>(n));
  Save("element.qve", Exp, Parts);
  EXPECT_EQ(OpenError(Temp.ReadBytes("element.qve")), "");
  // The same command into the entire array, which no element can take the result of:
  // the file is refused when it is opened, not by the program at the first run.
  index.ClearIndex();
  EXPECT_EQ(calculate->GetText(), "Calculate(arr[...]=6*7)");
  Save("whole.qve", Exp, Parts);
  EXPECT_EQ(OpenError(Temp.ReadBytes("whole.qve")),
            "Calculate script variable or variable data not defined...aborting read");
}

TEST_F(ExperimentFileTest, RunningOutOfMemoryEndsTheReadWithTheFilesError) {
  Build();
  Save("e.qve", Exp, Parts);
  std::string error;
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("c.blk"), Exp, BlockAt(Exp, 2), nullptr, error)) << error;
  TNoMemoryUi ui;
  EXPECT_EQ(OpenError(Temp.ReadBytes("e.qve")),
            "Bad experiment file...aborting read\rNot enough memory to read the file.");
  ui.Armed = true;
  TDrawParts parts;
  TExperiment other;
  EXPECT_EQ(OpenBlockFile(Temp.PathOf("c.blk"), other, parts, {}, nullptr, error), nullptr);
  EXPECT_EQ(error, "Bad block file...aborting read\rNot enough memory to read the file.");
  EXPECT_FALSE(other.HasBlocks());
}

}  // namespace
