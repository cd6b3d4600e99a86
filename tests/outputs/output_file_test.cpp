// Output files (".opt"): each kind's body round-trips byte for byte and holds the
// window's data, and damaged files end in the read error.
#include <gtest/gtest.h>

#include "model/errors.h"
#include "outputs/big_num_form.h"
#include "outputs/graph_form.h"
#include "outputs/output_file.h"
#include "outputs/output_records.h"
#include "outputs/table_form.h"
#include "outputs/text_form.h"

using namespace records;

namespace {

TBytes Header(std::int32_t kind, const std::string& version = "Qorv 1.5") {
  return Cat({StringBytes("Qorv Output"), StringBytes(version), I32(kind)});
}

const TBytes TextFile =
    Cat({Header(3), StringBytes("Log"), TextControl("TRichEdit", "1.50\r\nb\r\n", 10), I32(2),
         I32(1)});
const TBytes BigNumFile =
    Cat({Header(6), StringBytes("Volts"), TextControl("TLabel", "12.5", 36), I32(3), I32(2)});
const TBytes TableFile = Cat({Header(4), StringBytes("Tab"), I32(2), I32(1), I32(2),
                              DataSet("A", {{0, 1.5f}, {1, -2}}), DataSet("B", {{7, 8}})});
const TBytes GraphFile =
    Cat({Header(5), StringBytes("Gr"), I32(3), I32(2), B(false), F32(-1), F32(4), B(true), F32(0),
         F32(10), Chart("Gr"), I32(2), Series("S1", {{0, 1}, {1, 2.5f}}), Series("S2", {})});

class TOutputFileTest : public ::testing::Test {
protected:
  std::unique_ptr<TOutputForm> Load(const TBytes& bytes) {
    return LoadOutputFile(Temp.WriteBytes("in.opt", bytes), nullptr);
  }
  std::string LoadError(const TBytes& bytes) {
    try {
      Load(bytes);
    } catch (const EReadError& error) {
      return error.what();
    }
    return "";
  }

  TFakeUiPort Ui;
  TTempDir Temp;
};

}  // namespace

TEST_F(TOutputFileTest, EachKindRoundTripsByteForByteAndHoldsTheWindowsData) {
  for (const TBytes* file : {&TextFile, &BigNumFile, &TableFile, &GraphFile}) {
    std::unique_ptr<TOutputForm> form = Load(*file);
    EXPECT_EQ(form->GetFileName(), Temp.PathOf("in.opt"));
    EXPECT_FALSE(form->IsLive());
    EXPECT_TRUE(SaveOutputFile(*form, Temp.PathOf("out.opt")));
    EXPECT_EQ(Temp.ReadBytes("out.opt"), *file);
  }
  EXPECT_TRUE(Ui.Texts().empty());

  auto text = Load(TextFile);
  auto& log = dynamic_cast<TTextForm&>(*text);
  EXPECT_EQ(log.GetLines(), (TTexts{"1.50", "b"}));
  EXPECT_EQ(log.GetDecimalPlaces(), 2);
  EXPECT_EQ(log.GetNumberFormat(), 1);
  EXPECT_EQ(dynamic_cast<TBigNumForm&>(*Load(BigNumFile)).GetValue(), "12.5");
  auto table = Load(TableFile);
  auto& tab = dynamic_cast<TTableForm&>(*table);
  ASSERT_EQ(tab.SeriesCount(), 2);
  EXPECT_EQ(tab.GetSeries(0).Y, (std::vector<float>{1.5f, -2.0f}));
  EXPECT_FALSE(tab.GetSeries(0).ShowY);
  auto graph = Load(GraphFile);
  auto& gr = dynamic_cast<TGraphForm&>(*graph);
  ASSERT_EQ(gr.SeriesCount(), 2);
  EXPECT_EQ(gr.GetSeries(0).Y, (std::vector<double>{1.0, 2.5}));
  EXPECT_EQ(gr.GetSeries(1).YName, "Y S2");
  EXPECT_EQ(gr.BottomAxis().Minimum, -1.0);
  EXPECT_EQ(gr.GetAxisValuesFormat(), "0.000E-0");
  EXPECT_EQ(gr.GetXAxisScroll(), nullptr);  // detached: no scrolling record
  // Before version 1.4 a body has no number format.
  auto old =
      Load(Cat({Header(3, "Qorv 1.3"), StringBytes("Log"), TextControl("TRichEdit", "", 9)}));
  EXPECT_EQ(old->GetDecimalPlaces(), 0);
  EXPECT_EQ(old->GetNumberFormat(), 0);
}

TEST_F(TOutputFileTest, DamagedFilesEndInTheReadError) {
  EXPECT_EQ(LoadError(Cat({StringBytes("Qorv Block"), StringBytes("Qorv 1.5"), I32(3)})),
            "Invalid output file.");
  EXPECT_EQ(LoadError(Cat({Header(7), StringBytes("x")})), "Invalid output file.");
  EXPECT_EQ(LoadError(Cat({Header(2)})), "Invalid output file.");
  EXPECT_EQ(LoadError(Header(3, "Qorv 2.0")), "Cannot read this version number Qorv 2.0");
  // Every shorter file lacks a field the body needs.
  for (const TBytes* file : {&TextFile, &BigNumFile, &TableFile, &GraphFile})
    for (std::size_t size = 0; size < file->size(); size += 3)
      EXPECT_NE(LoadError(TBytes(file->begin(), file->begin() + size)), "") << size;
  const TBytes table = Cat({Header(4), StringBytes("T"), I32(0)});
  // Counts the rest of the file cannot hold, negative ones, a format that is no notation.
  for (const TBytes& body : {Cat({I32(0), I32(1000)}), Cat({I32(0), I32(-1)}),
                             Cat({I32(0), I32(1), DataSet("A", {}, false), I32(0x7FFFFFFF)}),
                             Cat({I32(3), I32(0)})})
    EXPECT_NE(LoadError(Cat({table, body})), "");
}

TEST_F(TOutputFileTest, DecimalPlacesAreReadAsNumbersAreShownWith) {
  // 2^31 - 1 places once made a fixed graph's axis format of as many zeros.
  auto graph = Load(Cat({Header(5), StringBytes("Gr"), I32(0x7FFFFFFF), I32(1), B(false), F32(-1),
                         F32(4), B(true), F32(0), F32(10), Chart("Gr"), I32(0)}));
  EXPECT_EQ(graph->GetDecimalPlaces(), 18);
  EXPECT_EQ(dynamic_cast<TGraphForm&>(*graph).GetAxisValuesFormat(), "0." + std::string(18, '0'));
}

TEST_F(TOutputFileTest, AGraphNamedWithALineBreakSavesTheSameTitleEachTime) {
  // The name becomes the title's first line; its line break once added a title line at
  // every save and read.
  std::unique_ptr<TOutputForm> form = Load(Cat({Header(5), StringBytes("G\nx"), I32(3), I32(2),
                                                B(false), F32(-1), F32(4), B(true), F32(0),
                                                F32(10), Chart("Gr"), I32(0)}));
  ASSERT_TRUE(SaveOutputFile(*form, Temp.PathOf("first.opt")));
  std::unique_ptr<TOutputForm> again = LoadOutputFile(Temp.PathOf("first.opt"), nullptr);
  ASSERT_TRUE(SaveOutputFile(*again, Temp.PathOf("second.opt")));
  EXPECT_EQ(Temp.ReadBytes("second.opt"), Temp.ReadBytes("first.opt"));
  EXPECT_EQ(dynamic_cast<TGraphForm&>(*again).Chart().Title.front(), "G");
}

TEST_F(TOutputFileTest, SaveNeedsOptInTheName) {
  TTextForm form(static_cast<TDeadOutputList*>(nullptr));
  EXPECT_FALSE(SaveOutputFile(form, Temp.PathOf("a.OPT")));
  EXPECT_EQ(Ui.Texts(), (TTexts{"Invalid Extention"}));
  EXPECT_TRUE(SaveOutputFile(form, Temp.PathOf("a.opt.bak")));
  EXPECT_EQ(form.GetFileName(), Temp.PathOf("a.opt.bak"));
  EXPECT_FALSE(SaveOutputFile(form, ""));
  EXPECT_EQ(Temp.Entries(), 1u);
  EXPECT_FALSE(SaveOutputFile(form, Temp.PathOf("missing/a.opt")));
  EXPECT_EQ(Ui.Texts().back(), "Error writing to file");
  TGraphForm graph(static_cast<TDeadOutputList*>(nullptr));
  EXPECT_FALSE(SaveOutputFile(graph, Temp.PathOf("missing/a.opt")));
  EXPECT_EQ(Ui.Texts().back(), "Error writing output");
}
