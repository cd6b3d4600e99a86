// The document reader reads through a buffer of large pieces: fields of every kind and
// size read back exactly wherever the pieces end, texts larger than a piece among them,
// and a file cut short anywhere still ends in "Stream read error" at the field that
// crosses the cut, not before or after it.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "model/component.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "support/temp_dir.h"

namespace {

// One field of a document, with the bytes it takes.
struct TField {
  char Kind = 'i';  // i: int32, b: bool, f: float, s: string, r: record with a byte property
  std::int32_t Int = 0;  // the int32, or the bool as 0 or 1
  float Real = 0;
  std::string Text;  // the string, or the record's bytes

  std::size_t Bytes() const;
};

// A component whose one property is a run of bytes.
class TBlob : public TComponent {
public:
  TBytes Data;
  std::string GetClassName() const override { return "TBlob"; }
  void GetProperties(TComponentRecord& record) const override {
    record.Properties = {{"Data", Data}};
  }
  void SetProperties(const TComponentRecord& record) override {
    if (auto* v = record.Find<TBytes>("Data")) Data = *v;
  }
};

// The record: class name, property count, the property's name, kind and byte count.
std::size_t TField::Bytes() const {
  switch (Kind) {
    case 'i': case 'f': return 4;
    case 'b': return 1;
    case 's': return 4 + Text.size() + 1;
    default: return (4 + 6) + 4 + (4 + 5) + 4 + 4 + Text.size();
  }
}

// Text of the length in a pattern without NUL, different for each seed.
std::string Pattern(std::size_t length, int seed) {
  std::string text(length, ' ');
  for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('A' + (i * 7 + seed) % 53);
  return text;
}

class ReadBufferTest : public ::testing::Test {
protected:
  void Write(const std::string& name, const std::vector<TField>& fields) {
    TWriteFile file(Temp.PathOf(name));
    for (const TField& field : fields) {
      switch (field.Kind) {
        case 'i': file.WriteInteger(field.Int); break;
        case 'b': file.WriteBool(field.Int != 0); break;
        case 'f': file.WriteFloat(field.Real); break;
        case 's': file.WriteString(field.Text); break;
        default: {
          TBlob blob;
          blob.Data.assign(field.Text.begin(), field.Text.end());
          file.WriteComponent(&blob);
        }
      }
    }
    file.Commit();
  }
  // Reads the fields in order; answers how many read back equal before the first that
  // failed (with "Stream read error") or differed; all of them when none did.
  static std::size_t ReadBack(TReadFile& file, const std::vector<TField>& fields,
                              std::string& error) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const TField& field = fields[i];
      try {
        bool same = false;
        switch (field.Kind) {
          case 'i': {
            std::int32_t value = 0;
            file.ReadInteger(value);
            same = value == field.Int;
            break;
          }
          case 'b': {
            bool value = field.Int == 0;
            file.ReadBool(value);
            same = value == (field.Int != 0);
            break;
          }
          case 'f': {
            float value = 0;
            file.ReadFloat(value);
            same = value == field.Real;
            break;
          }
          case 's': same = file.ReadString() == field.Text; break;
          default: {
            TBlob blob;
            file.ReadComponent(&blob);
            same = blob.Data == TBytes(field.Text.begin(), field.Text.end());
          }
        }
        if (!same) {
          error = "field " + std::to_string(i) + " (" + field.Kind + ") differs";
          return i;
        }
      } catch (const EReadError& e) {
        error = e.what();
        return i;
      }
    }
    error.clear();
    return fields.size();
  }
  // Many small fields at random, so that the pieces end inside fields of every kind.
  static void Small(std::vector<TField>& fields, int count, std::mt19937& random) {
    for (int i = 0; i < count; ++i) {
      switch (random() % 4) {
        case 0: fields.push_back({'i', static_cast<std::int32_t>(random()), 0, {}}); break;
        case 1: fields.push_back({'b', static_cast<std::int32_t>(random() % 2), 0, {}}); break;
        case 2: fields.push_back({'f', 0, static_cast<float>(random() % 100000) / 7.0f, {}}); break;
        default: fields.push_back({'s', 0, 0, Pattern(random() % 24, i)});
      }
    }
  }

  TTempDir Temp;
};

TEST_F(ReadBufferTest, SmallAndLargeFieldsReadBackExactly) {
  std::mt19937 random(64);
  std::vector<TField> fields;
  // A large text first, read before any piece was buffered.
  fields.push_back({'s', 0, 0, Pattern(100000, 1)});
  Small(fields, 20000, random);
  fields.push_back({'s', 0, 0, Pattern(200000, 2)});
  // Texts whose bytes (with their NUL) come to just under, just at and just over a
  // piece of 64 KiB, back to back, then a short one.
  for (std::size_t length : {65534u, 65535u, 65536u, 65535u, 5u})
    fields.push_back({'s', 0, 0, Pattern(length, 3)});
  Small(fields, 300, random);
  fields.push_back({'r', 0, 0, Pattern(150000, 4)});  // a record's byte property
  Small(fields, 5000, random);
  Write("d.doc", fields);

  std::uint64_t total = 0;
  for (const TField& field : fields) total += field.Bytes();
  ASSERT_EQ(Temp.ReadBytes("d.doc").size(), total);  // the sizes this test counts with
  TReadFile file(Temp.PathOf("d.doc"));
  std::string error;
  EXPECT_EQ(ReadBack(file, fields, error), fields.size()) << error;
  EXPECT_EQ(file.BytesLeft(), 0u);
  bool more = false;
  EXPECT_THROW(file.ReadBool(more), EReadError);  // nothing past the end
}

TEST_F(ReadBufferTest, AFileCutShortFailsAtTheFieldThatCrossesTheCut) {
  std::mt19937 random(65);
  std::vector<TField> fields;
  Small(fields, 12000, random);
  fields.push_back({'s', 0, 0, Pattern(150000, 5)});
  Small(fields, 3000, random);
  Write("full.doc", fields);
  const TBytes full = Temp.ReadBytes("full.doc");
  std::vector<std::uint64_t> ends;  // where each field ends
  std::uint64_t at = 0;
  for (const TField& field : fields) ends.push_back(at += field.Bytes());
  ASSERT_EQ(full.size(), at);
  const std::uint64_t big = ends[12000];  // the end of the large text

  // Cuts at the start, around the ends of the first pieces, inside the large text and
  // around its end, in the fields after it, one byte short; then some at random.
  std::vector<std::uint64_t> cuts = {0, 1, 3, 65535, 65536, 65537, 131071, 131072, 131073,
                                     big - 150001, big - 100000, big - 1, big, big + 1,
                                     big + (full.size() - big) / 2, full.size() - 1};
  for (int n = 0; n < 8; ++n) cuts.push_back(random() % full.size());
  for (std::uint64_t cut : cuts) {
    ASSERT_LT(cut, full.size());
    const std::string path =
        Temp.WriteBytes("cut.doc", TBytes(full.begin(), full.begin() + static_cast<long>(cut)));
    // The first field that does not end within the cut.
    std::size_t crossing = 0;
    while (ends[crossing] <= cut) ++crossing;
    TReadFile file(path);
    std::string error;
    EXPECT_EQ(ReadBack(file, fields, error), crossing) << "cut at " << cut << ": " << error;
    EXPECT_EQ(error, "Stream read error") << "cut at " << cut;
  }
}

}  // namespace
