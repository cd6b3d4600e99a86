// The document writer and reader: byte layout of the primitives, object identifiers,
// headers, component records, safe saving, and damaged or hostile input.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "model/component.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class DocumentTest : public ::testing::Test {
protected:
  // Writes a document through the writer and commits it.
  std::string Written(const std::string& name, const std::function<void(TWriteFile&)>& fill) {
    TWriteFile file(Temp.PathOf(name));
    fill(file);
    file.Commit();
    return Temp.PathOf(name);
  }
  // A new file of the bytes.
  std::string File(const TBytes& bytes) {
    return Temp.WriteBytes("f" + std::to_string(Files++) + ".doc", bytes);
  }

  TTempDir Temp;
  int Files = 0;
};

// A window-like component with one property of every kind.
class TTestWindow : public TComponent {
public:
  std::int32_t Left = 0;
  bool Visible = false;
  std::string Caption;
  float Scale = 0;
  TBytes Layout;

  std::string GetClassName() const override { return "TTestWindow"; }
  void GetProperties(TComponentRecord& record) const override {
    record.Properties = {{"Left", Left}, {"Visible", Visible}, {"Caption", Caption},
                         {"Scale", Scale}, {"Layout", Layout}};
  }
  void SetProperties(const TComponentRecord& record) override {
    if (auto* v = record.Find<std::int32_t>("Left")) Left = *v;
    if (auto* v = record.Find<bool>("Visible")) Visible = *v;
    if (auto* v = record.Find<std::string>("Caption")) Caption = *v;
    if (auto* v = record.Find<float>("Scale")) Scale = *v;
    if (auto* v = record.Find<TBytes>("Layout")) Layout = *v;
  }
};

class TOtherWindow : public TTestWindow {
public:
  std::string GetClassName() const override { return "TOtherWindow"; }
};

std::int32_t ReadInt(TReadFile& file) {
  std::int32_t value = 0;
  return file.ReadInteger(value), value;
}
float ReadSingle(TReadFile& file) {
  float value = 0;
  return file.ReadFloat(value), value;
}
bool ReadFlag(TReadFile& file) {
  bool value = false;
  return file.ReadBool(value), value;
}

void ExpectStreamReadError(const std::function<void()>& read) {
  try {
    read();
    ADD_FAILURE() << "no read error";
  } catch (const EReadError& error) {
    EXPECT_STREQ(error.what(), "Stream read error");
  }
}

}  // namespace

TEST_F(DocumentTest, PrimitivesHaveTheirExactBytesAndReadBack) {
  const auto path = Written("p.doc", [](TWriteFile& f) {
    f.WriteString("abc");
    f.WriteString("");
    for (const std::int32_t value : {0x12345678, -2, INT32_MIN}) f.WriteInteger(value);
    for (const float value : {1.0f, -2.5f, 0.1f}) f.WriteFloat(value);
    f.WriteBool(true);
    f.WriteBool(false);
    f.WriteInteger(7);  // no padding after the bools
  });
  const TBytes expected = Cat({{0x04, 0, 0, 0, 'a', 'b', 'c', 0}, {0x01, 0, 0, 0, 0},
                               {0x78, 0x56, 0x34, 0x12}, {0xFE, 0xFF, 0xFF, 0xFF},
                               {0, 0, 0, 0x80}, Le32(0x3F800000), Le32(0xC0200000),
                               Le32(0x3DCCCCCD), {1, 0}, {7, 0, 0, 0}});
  EXPECT_EQ(Temp.ReadBytes("p.doc"), expected);

  TReadFile file(path);
  EXPECT_EQ(file.ReadString(), "abc");
  EXPECT_EQ(file.ReadString(), "");
  for (const std::int32_t value : {0x12345678, -2, INT32_MIN}) EXPECT_EQ(ReadInt(file), value);
  for (const float value : {1.0f, -2.5f, 0.1f}) EXPECT_EQ(ReadSingle(file), value);
  EXPECT_TRUE(ReadFlag(file));
  EXPECT_FALSE(ReadFlag(file));
  EXPECT_EQ(ReadInt(file), 7);
  ExpectStreamReadError([&] { ReadFlag(file); });  // past the end
}

TEST_F(DocumentTest, StringCountsBelowOneAndWithoutNul) {
  // Counts 0, -1 and INT32_MIN give the empty text and consume only their four bytes.
  TReadFile low(File(Cat({Le32(0), Le32(0xFFFFFFFF), Le32(0x80000000), Le32(42)})));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(low.ReadString(), "");
  EXPECT_EQ(ReadInt(low), 42);

  // No NUL among the count bytes: refusing the string is allowed, reading beyond them not.
  TReadFile noNul(File(Cat({Le32(3), {'x', 'y', 'z'}, Le32(43)})));
  try {
    EXPECT_EQ(noNul.ReadString(), "xyz");
  } catch (const EReadError&) {
  }
  EXPECT_EQ(ReadInt(noNul), 43);

  // A NUL inside the count bytes ends the text; all count bytes are consumed.
  TReadFile inner(File(Cat({Le32(5), {'a', 'b', 0, 'c', 'd'}, Le32(44)})));
  EXPECT_EQ(inner.ReadString(), "ab");
  EXPECT_EQ(ReadInt(inner), 44);
}

TEST_F(DocumentTest, ObjectIdentifiersStartAt100PerDocument) {
  int a = 0, b = 0, c = 0;
  TWriteFile first(Temp.PathOf("ids.doc"));
  EXPECT_EQ(first.GetObjectId(&a), 100);
  EXPECT_EQ(first.GetObjectId(&b), 101);
  EXPECT_EQ(first.GetObjectId(&a), 100);
  EXPECT_EQ(first.GetObjectId(&c), 102);
  TWriteFile second(Temp.PathOf("other.doc"));
  EXPECT_EQ(second.GetObjectId(&c), 100);
  EXPECT_EQ(Temp.Entries(), 0u) << "identifiers are not writes";
}

TEST_F(DocumentTest, FilesAreCreatedAndOpenedOnlyAtTheFirstAccess) {
  TWriteFile plain(Temp.PathOf("plain.doc"));
  EXPECT_FALSE(plain.IsBlockExport());
  EXPECT_EQ(plain.GetBlockVariableList(), nullptr);
  EXPECT_TRUE(plain.GetBlockScriptList().empty());
  TWriteFile block(Temp.PathOf("block.doc"), true);
  EXPECT_TRUE(block.IsBlockExport());
  ASSERT_NE(block.GetBlockVariableList(), nullptr);
  EXPECT_TRUE(block.GetBlockVariableList()->empty());
  TReadFile missing(Temp.PathOf("missing.doc"));  // constructing does not open
  EXPECT_TRUE(missing.GetVariableList().Waiting().empty());
  EXPECT_TRUE(missing.GetDeviceAttributeScriptList().empty());
  EXPECT_EQ(missing.GetVersionNumber(), 0);
  EXPECT_EQ(Temp.Entries(), 0u) << "a writer that wrote nothing leaves no file";

  EXPECT_THROW(ReadInt(missing), EFileError);
  fs::create_directory(Temp.Path() / "folder");
  TReadFile folder(Temp.PathOf("folder"));
  EXPECT_THROW(folder.ReadString(), EFileError);
  TWriteFile nowhere(Temp.PathOf("no/such/dir/x.doc"));
  EXPECT_THROW(nowhere.WriteInteger(1), EFileError);
}

TEST_F(DocumentTest, SavingReplacesTheTargetOnlyWhenCommitted) {
  const TBytes old = Cat({StringBytes("Qorv Experiment"), TBytes(100, 0xAB)});
  Temp.WriteBytes("exp.doc", old);
  {
    TWriteFile file(Temp.PathOf("exp.doc"));
    file.WriteString("new");
    file.WriteInteger(1);
    EXPECT_EQ(Temp.ReadBytes("exp.doc"), old) << "the target changes only at Commit";
    EXPECT_EQ(Temp.Entries(), 2u) << "the bytes go to a file beside the target";
    file.Commit();
  }
  EXPECT_EQ(Temp.ReadBytes("exp.doc"), Cat({StringBytes("new"), Le32(1)}));
  EXPECT_EQ(Temp.Entries(), 1u);

  // A save that fails half-way leaves the previous file and no temporary file.
  const TBytes saved = Temp.ReadBytes("exp.doc");
  try {
    TWriteFile file(Temp.PathOf("exp.doc"));
    file.WriteString("partial");
    for (int i = 0; i < 10000; ++i) file.WriteInteger(i);
    throw EExperimentError("save failed");
  } catch (const EExperimentError&) {
  }
  EXPECT_EQ(Temp.ReadBytes("exp.doc"), saved);
  EXPECT_EQ(Temp.Entries(), 1u);

  // A save of a new file that is never committed creates nothing.
  { TWriteFile file(Temp.PathOf("fresh.doc")); file.WriteBool(true); }
  EXPECT_FALSE(fs::exists(Temp.Path() / "fresh.doc"));
  EXPECT_EQ(Temp.Entries(), 1u);

  // A target that cannot be replaced: Commit fails and leaves no temporary file.
  fs::create_directories(Temp.Path() / "busy" / "inside");
  {
    TWriteFile file(Temp.PathOf("busy"));
    file.WriteInteger(5);
    EXPECT_THROW(file.Commit(), EFileError);
  }
  EXPECT_TRUE(fs::is_directory(Temp.Path() / "busy" / "inside"));
  EXPECT_EQ(Temp.Entries(), 2u);
}

TEST_F(DocumentTest, FileHeaderIsCheckedBeforeTheBody) {
  const auto path = Written("h.doc", [](TWriteFile& f) {
    f.WriteFileHeader("Qorv Experiment");
    f.WriteInteger(9);
  });
  EXPECT_EQ(Temp.ReadBytes("h.doc"),
            Cat({StringBytes("Qorv Experiment"), StringBytes("Qorv 1.5"), Le32(9)}));
  TReadFile good(path);
  good.ReadFileHeader("Qorv Experiment", "Not an experiment");
  EXPECT_EQ(good.GetVersionText(), "Qorv 1.5");
  EXPECT_EQ(good.GetVersionNumber(), 6);
  EXPECT_EQ(ReadInt(good), 9);

  // An older version is read with its number.
  TReadFile older(File(Cat({StringBytes("Qorv Block"), StringBytes("Qorv 1.3")})));
  older.ReadFileHeader("Qorv Block", "Not a block");
  EXPECT_EQ(older.GetVersionNumber(), 4);

  const auto refused = [](const std::string& file, const std::string& message) {
    TReadFile reader(file);
    try {
      reader.ReadFileHeader("Qorv Experiment", "Not an experiment");
      ADD_FAILURE() << "accepted " << file;
    } catch (const EReadError& error) {
      EXPECT_EQ(error.what(), message) << file;
    }
  };
  // Another file kind, or no document at all: the caller's message.
  refused(File(Cat({StringBytes("Qorv Block"), StringBytes("Qorv 1.5")})),
          "Not an experiment");
  refused(File({}), "Not an experiment");
  refused(File({0x10, 0, 0}), "Not an experiment");
  refused(File(Cat({Le32(0x7FFFFFFF), {'Q', 'o'}})), "Not an experiment");
  for (const std::string version : {"Qorv 9.9", "Qorv x", "Qorv", ""})
    refused(File(Cat({StringBytes("Qorv Experiment"), StringBytes(version)})),
            "Cannot read this version number " + version);
  // A header without its version text is a damaged file.
  TReadFile cut(Temp.WriteBytes("cut.doc", StringBytes("Qorv Experiment")));
  EXPECT_THROW(cut.ReadFileHeader("Qorv Experiment", "Not an experiment"), EReadError);
}

TEST_F(DocumentTest, ComponentsAndIconsRoundTrip) {
  TTestWindow window;
  window.Left = -120;
  window.Visible = true;
  window.Caption = "Plot 1";
  window.Scale = 1.25f;
  window.Layout = {0, 1, 0xFF, 0};
  TIcon icon{{0x89, 'P', 'N', 'G', 0, 0, 0x1A}};
  TIcon noIcon;
  const auto path = Written("c.doc", [&](TWriteFile& f) {
    f.WriteComponent(&window);
    f.WriteIcon(&icon);
    f.WriteIcon(&noIcon);
    f.WriteInteger(77);
  });
  TReadFile file(path);
  TTestWindow copy;
  file.ReadComponent(&copy);
  EXPECT_EQ(copy.Left, -120);
  EXPECT_TRUE(copy.Visible);
  EXPECT_EQ(copy.Caption, "Plot 1");
  EXPECT_EQ(copy.Scale, 1.25f);
  EXPECT_EQ(copy.Layout, window.Layout);
  TIcon icon2{{1, 2, 3}}, noIcon2{{4}};
  file.ReadIcon(&icon2);
  EXPECT_EQ(icon2.Image, icon.Image);
  file.ReadIcon(&noIcon2);
  EXPECT_TRUE(noIcon2.Image.empty());
  EXPECT_EQ(ReadInt(file), 77) << "records are read to their exact end";

  // Another class, or a record that is not an image where an icon is expected.
  TReadFile other(path);
  TOtherWindow otherWindow;
  EXPECT_THROW(other.ReadComponent(&otherWindow), EReadError);
  TReadFile notIcon(path);
  EXPECT_THROW(notIcon.ReadIcon(&icon2), EReadError);

  // A property kind the record format does not have.
  TReadFile unknown(
      File(Cat({StringBytes("TTestWindow"), Le32(1), StringBytes("Left"), Le32(9), Le32(0)})));
  EXPECT_THROW(unknown.ReadComponent(&copy), EReadError);
}

TEST_F(DocumentTest, OversizedCountsFailWithoutAllocating) {
  const auto start = std::chrono::steady_clock::now();
  TReadFile str(File(Cat({Le32(0x7FFFFFFF), {'a', 'b', 'c', 0, 0, 0}})));
  ExpectStreamReadError([&] { str.ReadString(); });
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));

  // A count equal to the bytes left is still fine.
  TReadFile exact(File(Cat({Le32(4), {'a', 'b', 'c', 0}})));
  EXPECT_EQ(exact.ReadString(), "abc");

  TReadFile counts(File(Cat({Le32(3), {1, 2, 3}})));
  EXPECT_EQ(counts.ReadCount(), 3);
  TReadFile tooMany(File(Cat({Le32(4), {1, 2, 3}})));
  ExpectStreamReadError([&] { tooMany.ReadCount(); });
  TReadFile wide(File(Cat({Le32(2), TBytes(15, 0)})));
  ExpectStreamReadError([&] { wide.ReadCount(8); });
  TReadFile negative(File(Cat({Le32(0xFFFFFFFF), TBytes(8, 0)})));
  ExpectStreamReadError([&] { negative.ReadCount(); });

  // Inside component records: property count and byte count.
  TTestWindow window;
  TReadFile props(File(Cat({StringBytes("TTestWindow"), Le32(0x7FFFFFFF)})));
  ExpectStreamReadError([&] { props.ReadComponent(&window); });
  TReadFile bytes(File(Cat({StringBytes("TTestWindow"), Le32(1), StringBytes("Layout"), Le32(4),
                            Le32(0x7FFFFFF0)})));
  ExpectStreamReadError([&] { bytes.ReadComponent(&window); });
}

namespace {

// Reads fields of random kinds until the file gives out; only read errors may end it.
void ReadAtRandom(TReadFile& file, std::mt19937& random, bool header) {
  TTestWindow window;
  TIcon icon;
  try {
    if (header) file.ReadFileHeader("Qorv Experiment", "Not an experiment");
    for (int step = 0; step < 1000; ++step) {
      switch (random() % 7) {
        case 0: file.ReadString(); break;
        case 1: ReadInt(file); break;
        case 2: ReadSingle(file); break;
        case 3: ReadFlag(file); break;
        case 4: file.ReadCount(); break;
        case 5: file.ReadComponent(&window); break;
        default: file.ReadIcon(&icon); break;
      }
    }
  } catch (const EReadError&) {
  } catch (const std::exception& error) {
    ADD_FAILURE() << file.GetFileName() << ": " << error.what();
  }
}

}  // namespace

TEST_F(DocumentTest, TruncatedAndGarbageInputEndsInReadErrors) {
  TTestWindow window;
  window.Caption = "Output";
  window.Layout = {1, 2, 3};
  TIcon icon{{9, 8, 7}};
  Written("full.doc", [&](TWriteFile& f) {
    f.WriteFileHeader("Qorv Experiment");
    f.WriteString("name");
    f.WriteInteger(-5);
    f.WriteFloat(3.5f);
    f.WriteBool(true);
    f.WriteComponent(&window);
    f.WriteIcon(&icon);
  });
  const TBytes full = Temp.ReadBytes("full.doc");
  const auto readAll = [&](const std::string& path) {
    TReadFile file(path);
    file.ReadFileHeader("Qorv Experiment", "Not an experiment");
    TTestWindow copy;
    TIcon icon2;
    EXPECT_EQ(file.ReadString(), "name");
    EXPECT_EQ(ReadInt(file), -5);
    EXPECT_EQ(ReadSingle(file), 3.5f);
    EXPECT_TRUE(ReadFlag(file));
    file.ReadComponent(&copy);
    EXPECT_EQ(copy.Layout, window.Layout);
    file.ReadIcon(&icon2);
    EXPECT_EQ(icon2.Image, icon.Image);
  };
  readAll(Temp.PathOf("full.doc"));
  for (std::size_t size = 0; size < full.size(); ++size) {
    const auto path = Temp.WriteBytes("cut.doc", TBytes(full.begin(), full.begin() + long(size)));
    EXPECT_THROW(readAll(path), EReadError) << "cut at " << size;
  }

  std::mt19937 random(20240611);
  for (int round = 0; round < 300; ++round) {
    TBytes garbage(random() % 80);
    for (auto& byte : garbage) byte = std::uint8_t(random());
    TBytes damaged = full;  // a valid document with a few bytes changed
    for (int n = 0; n < 3; ++n) damaged[random() % damaged.size()] = std::uint8_t(random());
    for (const TBytes* bytes : {&garbage, &damaged}) {
      const auto path = Temp.WriteBytes("g.doc", *bytes);
      TReadFile withHeader(path);
      ReadAtRandom(withHeader, random, true);
      TReadFile bare(path);
      ReadAtRandom(bare, random, false);
    }
  }
}

// The checks fire before any file is touched, so no file is needed.
TEST(DocumentDeathTest, MissingObjectsAreConsistencyFailures) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string path = "/nonexistent/qorv_death.doc";
  EXPECT_DEATH(TWriteFile(path).GetObjectId(nullptr),
               "Assertion failed: object!=0, file .*write_file\\.cpp, line [0-9]+");
  EXPECT_DEATH(TWriteFile(path).WriteComponent(nullptr), "Assertion failed: component!=0");
  EXPECT_DEATH(TWriteFile(path).WriteIcon(nullptr), "Assertion failed: icon!=0");
  EXPECT_DEATH(TReadFile(path).ReadComponent(nullptr), "Assertion failed: component!=0");
  EXPECT_DEATH(TReadFile(path).ReadIcon(nullptr), "Assertion failed: icon!=0");
}
