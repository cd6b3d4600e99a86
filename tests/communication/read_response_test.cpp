// The response description of device commands and Read dialogs: its settings rules,
// texts, printout and record.
#include "communication/read_response.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/errors.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

std::vector<std::string> Described(const TReadResponse& response) {
  TLineReport report;
  response.Describe(report);
  return report.Lines;
}

// The record of the fields in their order.
TBytes Record(int type, int points, int readType, int bytes, const std::string& delimiter,
              bool leftToRight, bool storeCount, bool fromData, int arraySize) {
  return Cat({I32(type), I32(points), I32(readType), I32(bytes), StringBytes(delimiter),
              B(leftToRight), B(storeCount), B(fromData), I32(arraySize)});
}

class ReadResponseTest : public TCommandFixture {
protected:
  TBytes Saved(const TReadResponse& response) {
    return Written([&](TWriteFile& writer) { response.Save(writer); });
  }
  TReadResponse Loaded(const TBytes& bytes) {
    TReadResponse response;
    response.Load(*Reader(bytes));
    return response;
  }
};

TEST_F(ReadResponseTest, PointsSettings) {
  TReadResponse array(5);
  EXPECT_EQ(array.GetBytesPerPoint(), 10);
  EXPECT_TRUE(array.IsASCIIArray());
  array.SetNumberOfPoints(0);  // ignored
  array.SetNumberOfPointsFromData(true);
  EXPECT_EQ(array.GetNumberOfPoints(), 0);
  EXPECT_EQ(array.GetArraySize(), 10);
  TDataSingle* count = Single(B1, "count");
  array.SetArraySize(7);
  array.SetNumberOfPointsData(count);
  array.SetByteCountData(count);
  EXPECT_EQ(array.GetArraySize(), 7);
  array.ClearDataLinks();
  EXPECT_EQ(array.GetDataNumPoints(), nullptr);
  EXPECT_EQ(array.GetDataStoreByteCount(), nullptr);
  EXPECT_TRUE(array.GetNumberOfPointsFromData() && array.GetStoreByteCount());
  array.SetNumberOfPointsData(count);
  array.SetNumberOfPoints(3);
  EXPECT_FALSE(array.GetNumberOfPointsFromData() || array.GetDataNumPoints());
  EXPECT_EQ(array.GetArraySize(), 3);
  array.SetByteCountData(count);
  array.SetByteCountFromVariable(false);
  EXPECT_EQ(array.GetDataStoreByteCount(), nullptr);
}

TEST_F(ReadResponseTest, SetReadAsAndAdjustToData) {
  TReadResponse response(1);
  response.SetReadAs(rtBINARY, false);
  EXPECT_EQ(response.GetBytesPerPoint(), 4);
  response.SetBytesPerPoint(3);
  response.SetReadAs(rtASCII, false);
  response.SetReadAs(rtBINARY, false);
  EXPECT_EQ(response.GetBytesPerPoint(), 3);

  TReadResponse array(5);
  array.SetDelimiter("");
  array.SetReadAs(rtBINARY, true);
  array.SetReadAs(rtASCII, true);
  EXPECT_EQ(array.GetDelimiter(), ";");
  TReadResponse one;
  one.SetDelimiter("");
  one.SetReadAs(rtASCII, false);
  EXPECT_EQ(one.GetDelimiter(), "");

  TDataArray* values = Array(B1, "values", eatFLOAT, 8);
  TReadResponse many(20);
  many.AdjustToData(values);
  EXPECT_EQ(many.GetNumberOfPoints(), 8);
  TReadResponse few(5);
  few.AdjustToData(values);
  EXPECT_EQ(few.GetNumberOfPoints(), 5);
  one.AdjustToData(values);
  EXPECT_EQ(one.GetNumberOfPoints(), 8);
  many.AdjustToData(Single(B1, "v", eatFLOAT));
  EXPECT_EQ(many.GetNumberOfPoints(), 1);
  EXPECT_FALSE(many.GetIsArray());
  TReadResponse linked(20);
  TDataSingle* n = Single(B1, "n");
  linked.SetNumberOfPointsData(n);
  linked.AdjustToData(values);
  EXPECT_EQ(linked.GetDataNumPoints(), n);
  EXPECT_EQ(linked.GetArraySize(), 0);  // untouched: still the response's own
}

TEST(ReadResponse, TextAndPrintout) {
  TReadResponse single;
  EXPECT_EQ(single.GetText(), "Read(String)");
  EXPECT_EQ(Described(single), (std::vector<std::string>{
      "\t\t\tResponse: String", "\t\t\tRead As: ASCII", "\t\t\tNumber of Bytes/Point: 100"}));

  TReadResponse array(12);
  array.SetValueType(eatFLOAT);
  array.SetDelimiter(",");
  EXPECT_EQ(array.GetText(), "Read(Float[12])");
  EXPECT_EQ(Described(array), (std::vector<std::string>{
      "\t\t\tResponse: Float", "\t\t\tRead As: ASCII", "\t\t\tNumber of Bytes/Point: 10",
      "\t\t\tNumber of Points: 12", "\t\t\tDelimiter: \",\""}));

  array.SetValueType(eatINTEGER);
  array.SetReadAs(rtBINARY, true);
  array.SetBytesPerPoint(2);
  array.SetLeftToRight(false);
  array.SetArraySize(40);
  EXPECT_EQ(array.GetText(), "Read(Integer[variable])");
  EXPECT_EQ(Described(array), (std::vector<std::string>{
      "\t\t\tResponse: Integer", "\t\t\tRead As: Binary", "\t\t\tNumber of Bytes/Point: 2",
      "\t\t\tNumber of Points Variable.  Read Command Array size: 40",
      "\t\t\tRead Order: right to left"}));
  array.SetBytesPerPoint(1);
  EXPECT_EQ(Described(array).size(), 4u);  // one byte has no order
}

TEST_F(ReadResponseTest, RecordRoundTripsAndDamagedRecordsAreRefused) {
  TReadResponse response(12);
  response.SetValueType(eatINTEGER);
  response.SetReadAs(rtBINARY, true);
  response.SetLeftToRight(false);
  response.SetArraySize(30);
  response.SetByteCountData(Single(B1, "bytes"));
  const TBytes bytes = Record(1, 0, 1, 4, ";", false, true, true, 30);
  EXPECT_EQ(Saved(response), bytes);
  const TReadResponse loaded = Loaded(bytes);
  EXPECT_EQ(loaded.GetDataStoreByteCount(), nullptr);
  EXPECT_EQ(Saved(loaded), bytes);
  EXPECT_EQ(Saved(Loaded(Record(0, 1, 0, 100, "", true, false, false, 0))),
            Record(0, 1, 0, 100, "", true, false, false, 0));  // a single value needs none

  for (const TBytes& damaged :
       {Record(3, 1, 0, 10, ";", true, false, false, 0), Record(-1, 1, 0, 10, ";", true, 0, 0, 0),
        Record(0, 1, 2, 10, ";", true, false, false, 0), Record(0, 1, 1, 5, ";", true, 0, 0, 0),
        Record(0, 1, 1, 0, ";", true, false, false, 0), Record(0, 1, 0, 0, ";", true, 0, 0, 0),
        Record(0, -2, 0, 10, ";", true, false, false, 0), Record(0, 0, 0, 10, ";", 1, 0, 1, -1),
        Record(0, 5, 0, 10, "", true, false, false, 0), Record(0, 0, 0, 10, "", 1, 0, 1, 10)}) {
    TReadResponse kept(3);
    EXPECT_EQ(ErrorOf<EReadError>([&] { kept.Load(*Reader(damaged)); }), InvalidDeviceRecordText);
    EXPECT_EQ(kept.GetNumberOfPoints(), 3);  // unchanged
  }
  TBytes shortRecord = bytes;
  shortRecord.pop_back();
  EXPECT_THROW(Loaded(shortRecord), EReadError);
  EXPECT_NO_THROW(Loaded(Record(2, 5, 1, 4, "", true, false, false, 0)));  // binary: no delimiter
}

}  // namespace
