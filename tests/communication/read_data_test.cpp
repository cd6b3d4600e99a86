// The read descriptors of Read commands: sizes, decoding into single and array variables,
// texts, the response round trip and the record.
#include "communication/read_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "communication/read_response.h"
#include "model/errors.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "scripts/attribute_script.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

// The bytes of a literal, zeros included.
template <std::size_t N>
std::string Raw(const char (&bytes)[N]) {
  return std::string(bytes, N - 1);
}

// The Read command as the descriptors see it.
class TReadOwner : public TAttributeScript, public TReadDataOwner {
public:
  TReadOwner(TBlock* block, TTreeNode* node) : TAttributeScript(block, node) {}
  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  std::string GetText() override { return "read"; }
  int GetScriptType() const override { return READ; }
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }
  TAttributeScript* GetReadScript() override { return this; }
  bool GetDToE() const override { return DToE; }
  bool GetWhitespaceIsDelimiter() const override { return Whitespace; }

  bool DToE = true;
  bool Whitespace = true;
};

class ReadDataTest : public TCommandFixture {
protected:
  // A descriptor set up from the response, its terminator 13, decoding the bytes into the
  // variable as a run does.
  template <class T>
  T& Decode(const TReadResponse& response, const std::string& bytes, TData* variable) {
    auto* data = new T(Owner);
    Kept.emplace_back(data);
    data->SetFromResponse(response);
    data->SetTermChars(13, 0);
    data->CreateMechanics();
    char* buffer = data->AllocateBuffer();
    std::memcpy(buffer, bytes.data(), std::min<std::size_t>(bytes.size(), data->GetByteCount()));
    data->Read(variable);
    return *data;
  }
  // A single value in up to 100 characters, or points of 10 characters.
  static TReadResponse Ascii(int points, const std::string& delimiter = ";") {
    TReadResponse response = points == 1 ? TReadResponse() : TReadResponse(points);
    response.SetDelimiter(delimiter);
    return response;
  }
  static TReadResponse Binary(int points, int bytes, bool leftToRight) {
    TReadResponse response(points);
    response.SetReadAs(rtBINARY, points > 1);
    response.SetBytesPerPoint(bytes);
    response.SetLeftToRight(leftToRight);
    return response;
  }
  // The variable's text, or a float variable's value, after decoding the bytes into it.
  std::string Text(const TReadResponse& response, const std::string& bytes, TDataSingle* v) {
    Decode<TReadDataSingle>(response, bytes, v);
    return v->GetValue().GetText();
  }
  float Float(const TReadResponse& response, const std::string& bytes, TDataSingle* v) {
    Decode<TReadDataSingle>(response, bytes, v);
    return static_cast<TValueNum&>(v->GetValue()).GetFloat();
  }
  std::string Text(const TReadResponse& response, const std::string& bytes, TDataArray* v) {
    Decode<TReadDataArray>(response, bytes, v);
    return v->GetValueArray().GetText();
  }
  TDataArray* Filled(const std::string& name, int type, int size, const std::string& fill) {
    TDataArray* array = Array(B1, name, type, size);
    for (int i = 0; i < size; ++i) array->GetValueArray().SetElementText(fill, i);
    return array;
  }

  TReadOwner* Owner = new TReadOwner(B1, NewNode(B1));
  std::vector<std::unique_ptr<TReadData>> Kept;
};

TEST_F(ReadDataTest, SingleAscii) {
  TDataSingle* f = Single(B1, "f", eatFLOAT);
  EXPECT_EQ(Float(Ascii(1), "  +12.5E+2 V\r\n", f), 1250.0f);
  EXPECT_EQ(Float(Ascii(1), "1.0D+03", f), 1000.0f);
  Owner->DToE = false;
  EXPECT_EQ(Float(Ascii(1), "1.0D+03", f), 1.0f);
  TDataSingle* s = Single(B1, "s", eatSTRING);
  EXPECT_EQ(Text(Ascii(1), " \tOK 1\r2 \n", s), "OK 1");  // up to the terminator 13
  EXPECT_EQ(Text(Ascii(1), Raw("ab\0cd"), s), "ab");
  TDataSingle* i = Single(B1, "i", eatINTEGER);
  EXPECT_EQ(Text(Ascii(1), "V=-7,5", i), "-7");
  EXPECT_THROW(Text(Ascii(1), "none", i), EExperimentError);
}

TEST_F(ReadDataTest, SingleBinary) {
  TDataSingle* i = Single(B1, "i", eatINTEGER);
  EXPECT_EQ(Text(Binary(1, 2, true), Raw("\x12\x34"), i), "13330");
  EXPECT_EQ(Text(Binary(1, 2, false), Raw("\x12\x34"), i), "4660");
  EXPECT_EQ(Text(Binary(1, 4, true), Raw("\xff\xff\xff\xff"), i), "-1");
  EXPECT_EQ(Text(Binary(1, 3, false), Raw("\xff\xff\xff"), i), "16777215");  // no sign extension
  TDataSingle* s = Single(B1, "s", eatSTRING);
  EXPECT_EQ(Text(Binary(1, 4, false), Raw("\xff\xff\xff\xff"), s), "4294967295");
  TDataSingle* f = Single(B1, "f", eatFLOAT);
  EXPECT_EQ(Float(Binary(1, 4, false), Raw("\x3f\xc0\x00\x00"), f), 1.5f);
}

TEST_F(ReadDataTest, ArrayAscii) {
  TDataArray* a = Filled("a", eatINTEGER, 5, "9");
  EXPECT_EQ(Text(Ascii(4), "1;2;;3", a), "1,2,3,9,9");
  EXPECT_EQ(Text(Ascii(3, ","), "4 5 6", a), "4,5,6,9,9");
  Owner->Whitespace = false;
  EXPECT_EQ(Text(Ascii(3, ","), "7 8 9", a), "7,5,6,9,9");  // one token, cut to 7
  EXPECT_EQ(Text(Ascii(2, ";,"), "1,2;3;4", a), "1,3,6,9,9");  // the first character delimits
  EXPECT_EQ(Text(Ascii(5, "|"), "\r\n1\t2\x7f" "3|x4|", a), "1,2,3,4,9");

  TDataArray* s = Filled("s", eatSTRING, 3, "-");
  EXPECT_EQ(Text(Ascii(3), " a b ; c\r\n", s), "a b,c,-");
  TDataArray* f = Filled("f", eatFLOAT, 2, "0");
  Text(Ascii(2), "1D2;x", f);
  EXPECT_EQ(static_cast<TValueFloatArray&>(f->GetValueArray()).GetElementFloat(0), 100.0f);
  EXPECT_THROW(Text(Ascii(2), "1;-", f), EExperimentError);

  TDataArray* fresh = Array(B1, "fresh", eatINTEGER, 4);
  fresh->ClearValue();
  // The storage is made before decoding.
  EXPECT_EQ(Text(Ascii(2), "", fresh), "0,0,0,0,0,0,0,0,0,0");
}

TEST_F(ReadDataTest, ArrayBinary) {
  TDataArray* a = Filled("a", eatINTEGER, 4, "9");
  EXPECT_EQ(Text(Binary(3, 2, true), Raw("\x12\x34\x01\x00\xff\xff"), a), "13330,1,65535,9");
  // The bytes not received decode as zeros.
  EXPECT_EQ(Text(Binary(3, 2, false), Raw("\x12\x34\x01"), a), "4660,256,0,9");
  EXPECT_EQ(Text(Binary(2, 4, true), Raw("\xff\xff\xff\xff\x01\x00\x00\x80"), a),
            "-1,-2147483647,0,9");
  TDataArray* s = Filled("s", eatSTRING, 2, "-");
  EXPECT_EQ(Text(Binary(2, 4, true), Raw("\xff\xff\xff\xff\x01"), s), "4294967295,1");
}

TEST_F(ReadDataTest, SizesAndErrors) {
  TReadDataSingle single(Owner);
  EXPECT_EQ(single.GetByteCount(), 0);  // 0 bytes per point
  single.SetFromResponse(Binary(1, 4, true));
  EXPECT_EQ(single.GetByteCount(), 4);
  const char* buffer = single.AllocateBuffer();
  EXPECT_TRUE(std::all_of(buffer, buffer + 5, [](char c) { return c == 0; }));

  TReadResponse big(2);
  big.SetBytesPerPoint(33554432);
  TReadDataArray array(Owner);
  array.SetFromResponse(big);
  EXPECT_EQ(array.GetByteCount(), 67108864);
  big.SetNumberOfPoints(2147483647);
  array.SetFromResponse(big);
  EXPECT_EQ(ErrorOf([&] { array.AllocateBuffer(); }),
            "Read size of 72057594004373504 bytes exceeds the limit of 67108864 bytes");
  EXPECT_EQ(array.GetBuffer(), nullptr);

  TDataSingle* n = Single(B1, "n", eatINTEGER, "0");
  TReadResponse linked = Ascii(2);
  linked.SetNumberOfPointsData(n);
  array.SetFromResponse(linked);
  EXPECT_EQ(ErrorOf([&] { array.GetByteCount(); }), "Number of values to read 0 is invalid");
  n->GetValue().SetText("3");
  EXPECT_EQ(array.GetByteCount(), 30);

  const std::string tooMany = "The number of bytes/point for binary data cannot be greater than 4";
  for (int bytes : {0, 5}) {
    array.SetFromResponse(Binary(2, bytes, true));
    EXPECT_EQ(ErrorOf([&] { array.CreateMechanics(); }), tooMany) << bytes;
  }
  array.SetFromResponse(Binary(2, 4, true));
  array.CreateMechanics();
  array.AllocateBuffer();
  array.SetFromResponse(Binary(2, 8, true));
  EXPECT_EQ(ErrorOf([&] { array.Read(Array(B1, "a", eatINTEGER, 4)); }), tooMany);
}

TEST_F(ReadDataTest, TextsAndResponses) {
  TReadDataSingle single(Owner);
  single.SetFromResponse(Ascii(1));
  EXPECT_EQ(single.GetText(), "Read ASCII");
  EXPECT_EQ(single.Describe(), "Reading as  ASCII 100 bytes");
  EXPECT_EQ(single.GetNumberOfPointsText(), "");
  single.SetFromResponse(Binary(1, 2, false));
  EXPECT_EQ(single.GetText(), "Read Binary");
  EXPECT_EQ(single.Describe(),
            "Reading as  Binary 2 bytes.  Read bytes from from right to left to convert to values");
  TReadResponse back(7);
  single.CopyToResponse(back);
  EXPECT_EQ(back.GetNumberOfPoints(), 1);
  EXPECT_EQ(back.GetReadType(), rtBINARY);
  EXPECT_FALSE(back.GetLeftToRight());

  TReadDataArray array(Owner);
  EXPECT_EQ(array.GetNumberOfPointsText(), ",10");
  array.SetFromResponse(Ascii(10, ","));
  EXPECT_EQ(array.Describe(), "Reading as ASCII, 10 bytes//10 values delimited by , ");
  TDataSingle* n = Single(B1, "npts", eatINTEGER, "2");
  TReadResponse linked = Binary(2, 4, true);
  linked.SetNumberOfPointsData(n);
  array.SetFromResponse(linked);
  EXPECT_EQ(array.GetNumberOfPointsText(), ",npts");
  EXPECT_EQ(array.Describe(), "Reading as Binary, 4 bytes//npts. Read bytes from left to right "
                              " to convert to values.");
  EXPECT_EQ(array.GetDelimiter(), ",");  // a binary response leaves it
  TReadResponse copied = Ascii(3, "");
  copied.SetLeftToRight(false);
  array.CopyToResponse(copied);
  EXPECT_EQ(copied.GetDataNumPoints(), n);
  EXPECT_TRUE(copied.GetLeftToRight());
  EXPECT_EQ(copied.GetDelimiter(), "");  // binary: not copied
  TReadResponse ascii = Ascii(4, "|");
  ascii.SetLeftToRight(false);
  array.SetFromResponse(ascii);
  EXPECT_EQ(array.GetDataNumPoints(), nullptr);
  EXPECT_TRUE(array.GetLeftToRight());  // ASCII leaves the byte order
  array.CopyToResponse(copied);
  EXPECT_EQ(copied.GetNumberOfPoints(), 4);
  EXPECT_EQ(copied.GetDelimiter(), "|");
  EXPECT_FALSE(copied.GetNumberOfPointsFromData());
}

TEST_F(ReadDataTest, Records) {
  TReadDataSingle single(Owner);
  single.SetFromResponse(Binary(1, 2, false));
  const TBytes singleBytes = Cat({I32(2), B(false), I32(1)});
  EXPECT_EQ(Written([&](TWriteFile& w) { single.Save(w); }), singleBytes);

  TReadDataArray array(Owner);
  const TBytes constant = Cat({I32(0), B(true), I32(0), StringBytes(";"), B(false), I32(10)});
  EXPECT_EQ(Written([&](TWriteFile& w) { array.Save(w); }), constant);
  TReadDataArray loaded(Owner);
  loaded.Load(*Reader(Cat({I32(3), B(true), I32(0), StringBytes(","), B(false), I32(25)})));
  EXPECT_EQ(loaded.GetNumPoints(), 25);
  EXPECT_EQ(loaded.GetDelimiter(), ",");
  EXPECT_EQ(loaded.GetByteCount(), 75);

  TDataSingle* n = Single(B1, "n", eatINTEGER, "4");
  TReadResponse linked = Ascii(2);
  linked.SetNumberOfPointsData(n);
  array.SetFromResponse(linked);
  std::vector<TVariable*> exported;
  const TBytes withVariable =
      Written([&](TWriteFile& w) { array.Save(w); }, "x.qrv", &exported);
  EXPECT_EQ(withVariable, Cat({I32(10), B(true), I32(0), StringBytes(";"), B(true), I32(100)}));
  EXPECT_EQ(exported, std::vector<TVariable*>{array.GetDataNumPoints()});

  auto reader = Reader(withVariable);
  loaded.Load(*reader);
  EXPECT_EQ(loaded.GetNumPoints(), -1);
  const std::vector<TVariable*> waiting = reader->GetVariableList().Waiting();
  ASSERT_EQ(waiting.size(), 1u);
  EXPECT_EQ(waiting[0], loaded.GetDataNumPoints());
  waiting[0]->ResolveLoadedLink(n, 100);
  EXPECT_EQ(loaded.GetNumberPointsToRead(), 4);
  EXPECT_EQ(Written([&](TWriteFile& w) { loaded.Save(w); }), withVariable);

  EXPECT_THROW(single.Load(*Reader(Cat({I32(2), B(true), I32(2)}))), EReadError);
  EXPECT_EQ(single.GetBytesPerPoint(), 2);
}

}  // namespace
