// The chart of the graph window on its own: values formats, the ranges its axes show
// (automatic, fixed, one value, logarithmic, zoomed), series in arrival order with their
// notification, markers, pens and extents, titles, Assign, and the pictures it makes.
#include "outputs/ui/chart.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

#include <qcustomplot.h>

#include "model/number_text.h"
#include "support/temp_dir.h"

namespace {

TEST(ChartValueFormat, FormatsTheGraphGivesAndClampsTheirDecimals) {
  const auto parsed = [](const char* format) {
    const TChartValueFormat f = ParseValuesFormat(format);
    return std::pair{f.Notation, f.Decimals};
  };
  EXPECT_EQ(parsed(""), (std::pair{int{ntSTANDARD}, 0}));
  EXPECT_EQ(parsed("0."), (std::pair{int{ntFIXED}, 0}));
  EXPECT_EQ(parsed("0.000"), (std::pair{int{ntFIXED}, 3}));
  EXPECT_EQ(parsed("0.00E-0"), (std::pair{int{ntSCIENTIFIC}, 2}));
  EXPECT_EQ(parsed("#,##0.###"), (std::pair{int{ntSTANDARD}, 0}));
  EXPECT_EQ(parsed(("0." + std::string(30, '0')).c_str()), (std::pair{int{ntFIXED}, 18}));
  EXPECT_EQ(FormatChartValue(1234.5, {ntFIXED, 2}), "1234.50");
  EXPECT_EQ(FormatChartValue(1234.5, {ntSCIENTIFIC, 1}), "1.2E3");
  EXPECT_EQ(FormatChartValue(-0.05, {ntSCIENTIFIC, 1}), "-5.0E-2");
  EXPECT_EQ(FormatChartValue(0.1 + 0.2, {ntSTANDARD, 0}), "0.3");
  EXPECT_EQ(FormatChartValue(2, {ntFIXED, -3}), "2");
  // A mouse position to the decimal step of a pixel.
  EXPECT_EQ(NumberText::FormatNumber(RoundToPixel(12.3456789, 0.04), ntSTANDARD, 0), "12.35");
  EXPECT_EQ(NumberText::FormatNumber(RoundToPixel(12345.6789, 7), ntSTANDARD, 0), "12346");
  EXPECT_EQ(RoundToPixel(3.5, 0), 3.5);
}

TEST(Chart, AxesShowTheExtentTheirSettingsAndTheZoomGive) {
  TChart chart;
  chart.resize(600, 400);
  TLineSeries* series = chart.AddSeries();
  chart.PlotRect();
  EXPECT_EQ(chart.BottomAxis().Minimum(), 0) << "empty and automatic";
  EXPECT_EQ(chart.BottomAxis().Maximum(), 10);
  for (auto [x, y] : {std::pair{2.0, -1.0}, {6.0, 3.0}, {4.0, 1.0}}) series->AddXY(x, y);
  chart.PlotRect();
  EXPECT_EQ(chart.BottomAxis().Minimum(), 2);
  EXPECT_EQ(chart.BottomAxis().Maximum(), 6);
  // Y keeps a little room around the values.
  EXPECT_LT(chart.LeftAxis().Minimum(), -1);
  EXPECT_GT(chart.LeftAxis().Maximum(), 3);
  EXPECT_GT(chart.LeftAxis().Minimum(), -1.5);
  // An extent given for a series that draws only part of its points.
  series->SetValueExtent(-100, 100, 0, 1);
  chart.PlotRect();
  EXPECT_EQ(chart.BottomAxis().Minimum(), -100);
  series->Clear();
  series->AddXY(5, 5);
  chart.PlotRect();
  EXPECT_LT(chart.BottomAxis().Minimum(), 5) << "one value gets a range around it";
  EXPECT_GT(chart.BottomAxis().Maximum(), 5);

  chart.BottomAxis().SetAutomatic(false);
  chart.BottomAxis().SetMinMax(30, 20);  // ordered
  chart.BottomAxis().SetAutomaticMinimum(true);
  chart.PlotRect();
  EXPECT_EQ(chart.BottomAxis().Minimum(), 5);
  EXPECT_EQ(chart.BottomAxis().Maximum(), 30);
  chart.BottomAxis().SetAutomatic(false);
  chart.PlotRect();
  EXPECT_EQ(chart.BottomAxis().Minimum(), 20);

  chart.BottomAxis().Zoom(22, 24);
  chart.PlotRect();
  EXPECT_TRUE(chart.IsZoomed());
  EXPECT_EQ(chart.BottomAxis().Maximum(), 24);
  chart.UndoZoom();
  EXPECT_FALSE(chart.IsZoomed());
  EXPECT_EQ(chart.BottomAxis().Maximum(), 30);

  chart.LeftAxis().SetAutomatic(false);
  chart.LeftAxis().SetMinMax(-5, 1000);
  chart.LeftAxis().SetLogarithmic(true);
  chart.PlotRect();
  EXPECT_GT(chart.LeftAxis().Minimum(), 0) << "a logarithmic axis starts above 0";
  EXPECT_EQ(chart.LeftAxis().Axis()->scaleType(), QCPAxis::stLogarithmic);
  chart.LeftAxis().SetIncrement(-1);
  EXPECT_EQ(chart.LeftAxis().Increment(), 0);
}

TEST(Chart, SeriesKeepTheirOrderNotifyEachPointAndDrawAsSet) {
  TChart chart;
  TLineSeries* series = chart.AddSeries();
  std::vector<int> added;
  series->SetAfterAdd([&](TLineSeries& s, int index) {
    EXPECT_EQ(&s, series);
    added.push_back(index);
  });
  for (double x : {3.0, 1.0, 2.0, 1.0}) series->AddXY(x, x * 10);
  EXPECT_EQ(added, (std::vector<int>{0, 1, 2, 3}));
  ASSERT_EQ(series->Count(), 4);
  EXPECT_EQ(series->GetxValue(0), 3);
  EXPECT_EQ(series->GetxValue(3), 1);
  EXPECT_EQ(series->GetyValue(1), 10);
  EXPECT_EQ(series->GetxValue(9), 0) << "out of range";

  // Marker shapes with their own width and height, lines in their styles.
  for (int style : {psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psStar}) {
    series->SetPointer({true, style, QColor(Qt::blue), 3, 6});
    const QCPScatterStyle scatter = series->Curve()->scatterStyle();
    EXPECT_EQ(scatter.shape(), QCPScatterStyle::ssCustom) << style;
    const QRectF box = scatter.customPath().boundingRect();
    EXPECT_NEAR(box.width(), 6, 0.01) << style;
    EXPECT_NEAR(box.height(), 12, 0.01) << style;
  }
  series->SetPointer({false, psCircle, QColor(), 4, 4});
  EXPECT_EQ(series->Curve()->scatterStyle().shape(), QCPScatterStyle::ssNone);
  series->SetLinePen(true, lsDashDotDot, 3);
  EXPECT_EQ(series->Curve()->pen().style(), Qt::DashDotDotLine);
  series->SetLinePen(false, lsSolid, 0);
  EXPECT_EQ(series->Curve()->lineStyle(), QCPCurve::lsNone);
  EXPECT_EQ(series->LineWidth(), 1);

  TLineSeries* second = chart.AddSeries();
  EXPECT_NE(second->SeriesColor(), series->SeriesColor());
  EXPECT_EQ(chart.IndexOf(second), 1);
  chart.RemoveSeries(0);
  EXPECT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(chart.GetSeries(0), second);
  chart.RemoveAllSeries();
  EXPECT_EQ(chart.SeriesCount(), 0);
  EXPECT_EQ(chart.GetSeries(0), nullptr);
}

TEST(Chart, TitlesAssignAndPictures) {
  TTempDir temp;
  TChart chart;
  chart.resize(500, 300);
  chart.SetTitle({"Sweep", "run 2"});
  chart.SetLegendVisible(true);
  chart.BottomAxis().SetTitleCaption("Volts");
  chart.LeftAxis().SetValuesFormat("0.0");
  TLineSeries* series = chart.AddSeries();
  series->SetTitle("Current");
  for (int k = 0; k < 50; ++k) series->AddXY(k, k % 7);
  chart.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));

  TChart copy;
  copy.Assign(chart);
  EXPECT_EQ(copy.Title(), (QStringList{"Sweep", "run 2"}));
  EXPECT_TRUE(copy.LegendVisible());
  EXPECT_EQ(copy.BottomAxis().TitleCaption(), "Volts");
  EXPECT_EQ(copy.LeftAxis().ValueToText(2), "2.0");
  EXPECT_EQ(copy.SeriesCount(), 0) << "series are not settings";
  copy.SetTitle({});
  EXPECT_TRUE(copy.Title().isEmpty());

  const QByteArray svg = chart.ToSvg();
  EXPECT_TRUE(svg.contains("<svg"));
  EXPECT_TRUE(svg.contains("Sweep"));
  const std::string svgPath = temp.PathOf("chart.svg");
  EXPECT_TRUE(chart.SaveToSvgFile(QString::fromStdString(svgPath)));
  EXPECT_FALSE(chart.SaveToSvgFile(QString::fromStdString(temp.PathOf("none/chart.svg"))));
  const std::string pngPath = temp.PathOf("chart.png");
  ASSERT_TRUE(chart.SaveToBitmapFile(QString::fromStdString(pngPath)));
  const QImage image(QString::fromStdString(pngPath));
  EXPECT_EQ(image.size(), chart.PlotWidget()->size());
  const std::string pdfPath = temp.PathOf("chart.pdf");
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdfPath));
  EXPECT_TRUE(chart.Print(printer));
  QFile pdf(QString::fromStdString(pdfPath));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
}

}  // namespace
