// The points a graph draws for a view: the decimated answer matches a point-by-point
// reference on random series (X growing, X going back and forth, scattered X, NaN and
// infinities), zoomed views answer every point, and the summaries stay right when
// points are added, cleared, truncated or replaced by transfer data or a file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/read_file.h"
#include "outputs/graph_form.h"
#include "outputs/output_file.h"
#include "outputs/table_form.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace {

using TDraw = std::vector<TDrawPoint>;
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// The rule, point by point: classify each point, keep the first, lowest, highest and
// last of each run of inside points in one column (all of them when the view holds
// fewer than 4 per column), the outside points next to an inside point or across the
// range, and NaN points next to an inside point.
TDraw Reference(const std::vector<double>& x, const std::vector<double>& y, double xMin,
                double xMax, int columns) {
  if (std::isnan(xMin) || std::isnan(xMax)) return {};
  if (xMin > xMax) std::swap(xMin, xMax);
  if (columns < 1) columns = 1;
  enum { Gap, Left, In, Right };
  const std::size_t n = x.size();
  std::vector<int> place(n), column(n, 0);
  std::size_t inside = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::isnan(x[i]) || std::isnan(y[i]))
      place[i] = Gap;
    else if (x[i] < xMin)
      place[i] = Left;
    else if (x[i] > xMax)
      place[i] = Right;
    else {
      place[i] = In;
      ++inside;
      const double t = std::floor((x[i] - xMin) / (xMax - xMin) * columns);
      column[i] = !(t >= 0) ? 0 : t >= columns ? columns - 1 : static_cast<int>(t);
    }
  }
  const bool full = inside < 4 * static_cast<std::size_t>(columns);
  std::vector<bool> keep(n, false);
  const auto across = [](int a, int b) { return (a == Left && b == Right) || (a == Right && b == Left); };
  for (std::size_t i = 0; i < n; ++i) {
    if (place[i] == In) {
      if (full) keep[i] = true;
      continue;
    }
    for (std::size_t j : {i - 1, i + 1}) {
      if (j >= n) continue;  // i - 1 wraps for i == 0
      if (place[j] == In || (place[i] != Gap && across(place[i], place[j]))) keep[i] = true;
    }
  }
  if (!full) {
    for (std::size_t i = 0; i < n;) {
      if (place[i] != In) {
        ++i;
        continue;
      }
      std::size_t end = i, low = i, high = i;
      while (end + 1 < n && place[end + 1] == In && column[end + 1] == column[i]) {
        ++end;
        if (y[end] < y[low]) low = end;
        if (y[end] > y[high]) high = end;
      }
      keep[i] = keep[low] = keep[high] = keep[end] = true;
      i = end + 1;
    }
  }
  TDraw out;
  for (std::size_t i = 0; i < n; ++i)
    if (keep[i]) out.push_back({x[i], y[i]});
  return out;
}

bool Same(const TDraw& a, const TDraw& b) {
  if (a.size() != b.size()) return false;
  return a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(TDrawPoint)) == 0;
}

// A detached graph (no list: headless) whose first series holds the points.
class DrawIndexTest : public ::testing::Test {
protected:
  TGraphForm Form{static_cast<TDeadOutputList*>(nullptr)};
  TGraphSeries& Series() { return Form.GetSeries(0); }
  void Fill(const std::vector<double>& x, const std::vector<double>& y) {
    Series().Clear();
    for (std::size_t i = 0; i < x.size(); ++i) Series().AddPoint(x[i], y[i]);
  }
  TDraw Draw(double xMin, double xMax, int columns) {
    TDraw out{{1, 2}};  // cleared first
    Form.PointsToDraw(0, xMin, xMax, columns, out);
    return out;
  }
  // The answer matches the reference for the view.
  void Check(double xMin, double xMax, int columns, const std::string& what) {
    const TDraw expected = Reference(Series().X, Series().Y, xMin, xMax, columns);
    const TDraw got = Draw(xMin, xMax, columns);
    EXPECT_TRUE(Same(got, expected)) << what << " view [" << xMin << ", " << xMax << "] over "
                                     << columns << ": " << got.size() << " points, expected "
                                     << expected.size();
  }
  // Whole range, few columns (blocks wholly in one), zoomed to a few points, beyond both ends, one column, a range
  // of width 0 and a reversed one.
  void CheckViews(const std::string& what) {
    double lo = Inf, hi = -Inf;
    for (double v : Series().X)
      if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
    if (lo > hi) lo = 0, hi = 1;
    const double w = hi - lo;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> at(lo - w / 10, hi + w / 10);
    Check(lo, hi, 1000, what + " whole");
    Check(lo, hi, 1, what + " one column");
    Check(lo, hi, 7, what + " seven columns");
    Check(lo + w / 4, lo + w / 2, 300, what + " quarter");
    Check(lo + w / 2, lo + w / 2 + w / 1e5, 800, what + " zoomed");
    Check(lo - 2 * w - 1, lo - w - 1, 100, what + " before");
    Check(hi + w + 1, hi + 2 * w + 1, 100, what + " after");
    Check(lo + w / 3, lo + w / 3, 50, what + " width 0");
    Check(hi - w / 3, lo + w / 3, 640, what + " reversed");
    for (int k = 0; k < 6; ++k) {
      const double a = at(random), b = at(random);
      Check(std::min(a, b), std::max(a, b), 1 + static_cast<int>(random() % 2000), what + " random");
    }
  }
};

TEST_F(DrawIndexTest, DecimationMatchesThePointByPointRule) {
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0.0, 1.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // Sizes about the block size and beyond.
  for (std::size_t n : {0, 1, 2, 255, 256, 257, 511, 4000, 100000}) {
    const std::string size = std::to_string(n) + " points";
    std::vector<double> x(n), y(n);
    // X only grows (sometimes standing still), as a counter or a clock.
    double at = 0;
    for (std::size_t i = 0; i < n; ++i) {
      at += unit(random) < 0.1 ? 0.0 : unit(random);
      x[i] = at;
      y[i] = std::sin(at / 50) + noise(random) * 0.1;
    }
    Fill(x, y);
    CheckViews("growing X, " + size);
    // Sweeps up and down, as a hysteresis loop.
    for (std::size_t i = 0; i < n; ++i) {
      const double phase = std::fmod(static_cast<double>(i) / 3000.0, 2.0);
      x[i] = (phase < 1 ? phase : 2 - phase) * 10 + noise(random) * 0.001;
      y[i] = std::tanh(x[i] - 5) + (phase < 1 ? 0.5 : -0.5);
    }
    Fill(x, y);
    CheckViews("back and forth, " + size);
    // Scattered X with repeated Y (ties for lowest and highest).
    for (std::size_t i = 0; i < n; ++i) {
      x[i] = std::floor(unit(random) * 1000);
      y[i] = std::floor(unit(random) * 4);
    }
    Fill(x, y);
    CheckViews("scattered, " + size);
    // Growing X with NaN and infinities here and there.
    for (std::size_t i = 0; i < n; ++i) {
      x[i] = static_cast<double>(i);
      y[i] = noise(random);
      const double r = unit(random);
      if (r < 0.002) x[i] = NaN;
      else if (r < 0.004) y[i] = NaN;
      else if (r < 0.005) y[i] = -Inf;
      else if (r < 0.006) y[i] = Inf;
      else if (r < 0.007) x[i] = (r < 0.0065 ? -Inf : Inf);
    }
    Fill(x, y);
    CheckViews("NaN and infinities, " + size);
  }
}

TEST_F(DrawIndexTest, ViewsAnswerWhatAChartNeeds) {
  // 1,000,000 growing points over 1000 columns: at most 4 per column and the neighbours.
  std::vector<double> x(1000000), y(1000000);
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = static_cast<double>(i);
    y[i] = std::sin(static_cast<double>(i) / 777.0) + (i % 13 == 0 ? 3.0 : 0.0);
  }
  Fill(x, y);
  TDraw whole = Draw(0, 999999, 1000);
  EXPECT_LE(whole.size(), 4000u);
  EXPECT_GE(whole.size(), 2000u);  // every column has a lowest and a highest point
  // Each column's least and greatest y are there: the envelope survives.
  for (int c : {0, 500, 999}) {
    double lo = Inf, hi = -Inf;
    for (std::size_t i = static_cast<std::size_t>(c) * 1000; i < static_cast<std::size_t>(c + 1) * 1000; ++i)
      lo = std::min(lo, y[i]), hi = std::max(hi, y[i]);
    bool low = false, high = false;
    for (const TDrawPoint& p : whole)
      if (p.X >= c * 1000 && p.X < (c + 1) * 1000) low |= p.Y == lo, high |= p.Y == hi;
    EXPECT_TRUE(low && high) << "column " << c;
  }
  // Zoomed to 3000 points over 1000 columns: every point, and the one on each side.
  TDraw zoomed = Draw(500000, 502999, 1000);
  ASSERT_EQ(zoomed.size(), 3002u);
  EXPECT_EQ(zoomed.front().X, 499999);
  EXPECT_EQ(zoomed.back().X, 503000);
  for (std::size_t k = 0; k < zoomed.size(); ++k) EXPECT_EQ(zoomed[k].Y, y[499999 + k]);
  // Fewer than 4 points per column: all of them, even where many share a column.
  std::vector<double> still(300, 5.0), values(300);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<double>(i % 17);
  Fill(still, values);
  EXPECT_EQ(Draw(0, 10, 100).size(), 300u);
  // Decimated when the columns are few: the first (also the lowest), highest and last.
  EXPECT_EQ(Draw(0, 10, 10).size(), 3u);
  Fill(x, y);
  // Nothing in view, nothing across: nothing.
  EXPECT_TRUE(Draw(2e6, 3e6, 100).empty());
  // A series that does not exist answers nothing.
  TDraw none{{1, 1}};
  Form.PointsToDraw(1, 0, 1, 10, none);
  EXPECT_TRUE(none.empty());
  Form.PointsToDraw(-1, 0, 1, 10, none);
  EXPECT_TRUE(none.empty());
  // A step across the whole view keeps both ends, so that its line is drawn.
  Fill({0, 10, 0, 10}, {1, 2, 3, 4});
  EXPECT_EQ(Draw(4, 6, 100).size(), 4u);
  // A NaN between two inside points breaks the line there.
  Fill({1, 2, NaN, 3, 4}, {1, 1, 1, 1, 1});
  const TDraw gap = Draw(0, 5, 1);
  ASSERT_EQ(gap.size(), 5u);
  EXPECT_TRUE(std::isnan(gap[2].X));
  // Decimation off answers every point, whatever the view.
  Fill(x, y);
  Form.SetDecimation(false);
  const TDraw all = Draw(10, 20, 5);
  ASSERT_EQ(all.size(), x.size());
  EXPECT_EQ(all[123456].X, 123456);
  Form.SetDecimation(true);
  EXPECT_EQ(Draw(10, 20, 5).size(), 13u);  // 11 inside, one on each side
}

TEST_F(DrawIndexTest, SummariesFollowEveryChangeOfThePoints) {
  std::mt19937 random(3);
  std::normal_distribution<double> noise(0.0, 1.0);
  const auto add = [&](std::size_t n, double scale) {
    for (std::size_t i = 0; i < n; ++i) Series().AddPoint(Series().Count(), scale * noise(random));
  };
  const auto views = [&](const std::string& what) {
    const double n = Series().Count();
    Check(0, n, 700, what);
    Check(0, n, 3, what);  // whole blocks in one column
    Check(n / 3, n / 2, 100, what);
  };
  // Added a few at a time between views, as a run plots.
  for (int step = 0; step < 40; ++step) {
    add(static_cast<std::size_t>(random() % 700), 1.0);
    views("growing, step " + std::to_string(step));
  }
  // Cleared and plotted again, with other values.
  Series().Clear();
  add(5000, 100.0);
  views("after Clear");
  // Cleared and plotted again with the same values where the summaries end, others
  // between.
  const std::vector<double> before = Series().Y;
  Series().Clear();
  for (std::size_t i = 0; i < before.size(); ++i)
    Series().AddPoint(static_cast<double>(i), i % 256 == 255 ? before[i] : -before[i]);
  views("after Clear, same ends");
  // Truncated, then added to.
  Series().Truncate(3000);
  views("truncated");
  add(1000, -5.0);
  views("truncated and added to");
  // Replaced by transfer data (paste) of other points.
  TTransferData data;
  TTransferSeries* pasted = data.AddSeries("p", 4000);
  for (std::int32_t i = 0; i < 4000; ++i) pasted->SetPoint(i, static_cast<float>(i), static_cast<float>(noise(random)));
  Form.SetTransferData(&data);
  ASSERT_EQ(Series().Count(), 4000);
  views("after transfer");
  // Replaced by a file's points: the window read again from an output file.
  TTempDir temp;
  TGraphForm saved{static_cast<TDeadOutputList*>(nullptr)};
  // Values a file keeps exactly (it holds 4-byte floats).
  for (int i = 0; i < 3000; ++i) saved.GetSeries(0).AddPoint(i, static_cast<float>(7 * noise(random)));
  const std::string path = temp.PathOf("g.opt");
  ASSERT_TRUE(SaveOutputFile(saved, path));
  TReadFile reader(path);
  reader.ReadFileHeader("Qorv Output", "bad");
  std::int32_t kind;
  reader.ReadInteger(kind);
  Form.ReadOutputFile(reader);
  ASSERT_EQ(Series().Count(), 3000);
  EXPECT_EQ(Series().Y, saved.GetSeries(0).Y);
  views("after reading a file");
  // Points changed behind the index's back (writing the vectors) are noticed when the
  // last summarised point differs.
  for (double& v : Series().Y) v = -v;
  views("after writing the vectors");
}

TEST_F(DrawIndexTest, MemoryStaysUnder32BytesPerPoint) {
  // Points added one at a time as a run plots them; the bytes held are the vectors'
  // capacities and the summaries, checked as the series grows and at 1,000,000.
  const auto bytesPerPoint = [this] {
    TDraw out;
    Form.PointsToDraw(0, 0, Series().Count(), 1000, out);  // the summaries are made
    const std::size_t bytes = (Series().X.capacity() + Series().Y.capacity()) * sizeof(double) +
                              Series().IndexBytes();
    return static_cast<double>(bytes) / Series().Count();
  };
  // The worst moment is just after the vectors grew.
  double worst = 0;
  std::size_t capacity = 0;
  for (std::int32_t i = 0; i < 1000000; ++i) {
    Series().AddPoint(i, std::sin(i * 0.001));
    if (Series().X.capacity() == capacity) continue;
    capacity = Series().X.capacity();
    if (i >= 1000) worst = std::max(worst, bytesPerPoint());
  }
  EXPECT_LT(bytesPerPoint(), 32.0);
  EXPECT_LT(worst, 32.0);
  EXPECT_GT(Series().IndexBytes(), 0u);
  // A table keeps 4-byte floats: under half of that.
  TTableDataSet set;
  for (std::int32_t i = 0; i < 1000000; ++i) set.AddPoint(i, i);
  EXPECT_LT((set.X.capacity() + set.Y.capacity()) * sizeof(float), 16u * 1000000u);
  // A file's or a transfer's points take exactly their room.
  TTransferData data;
  data.AddSeries("p", 100000);
  Form.ImportData(&data);
  EXPECT_EQ(Form.GetSeries(1).X.capacity(), 100000u);
}

TEST_F(DrawIndexTest, GenerationCountsEveryChange) {
  std::uint64_t seen = Form.GetGeneration();
  const auto moved = [&] {
    const bool changed = Form.GetGeneration() > seen;
    seen = Form.GetGeneration();
    return changed;
  };
  Form.SetName("Volts");
  EXPECT_TRUE(moved());  // caption
  Form.SetNumberFormat(1, 3);
  EXPECT_TRUE(moved());  // settings
  TTransferData data;
  data.AddSeries("p", 2)->SetPoint(0, 1, 2);
  Form.ImportData(&data);
  EXPECT_TRUE(moved());  // data
  Form.DeleteSeries(1);
  EXPECT_TRUE(moved());
  Form.SetDecimation(false);
  EXPECT_TRUE(moved());
  TDraw out;
  Form.PointsToDraw(0, 0, 1, 10, out);
  EXPECT_FALSE(moved());  // asking changes nothing
}

}  // namespace
