// Record bytes of the output windows, for the tests of outputs and output files.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/experiment_fixture.h"

namespace records {

inline TBytes F32(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return Le32(bits);
}
// A component property: name, kind (0 integer, 1 bool, 2 string), value.
inline TBytes Prop(const std::string& name, int kind, const TBytes& value) {
  return Cat({StringBytes(name), I32(kind), value});
}
// The record of a text control ("TRichEdit", "TLabel") in the default colours and font.
inline TBytes TextControl(const std::string& component, const std::string& text,
                          std::int32_t size) {
  return Cat({StringBytes(component), I32(6), Prop("Text", 2, StringBytes(text)),
              Prop("Color", 0, I32(0xFFFFFF)), Prop("Font.Name", 2, StringBytes("Arial")),
              Prop("Font.Size", 0, I32(size)), Prop("Font.Color", 0, I32(0)),
              Prop("Font.Style", 0, I32(0))});
}
inline TBytes Chart(const std::string& title) {
  return Cat({StringBytes("TChart"), I32(4), Prop("Title.Text", 2, StringBytes(title + "\r\n")),
              Prop("Legend.Visible", 1, B(false)), Prop("BottomAxis.Title", 2, StringBytes("")),
              Prop("LeftAxis.Title", 2, StringBytes(""))});
}
// The point count and points of a series record with data.
using TPointList = std::vector<std::pair<float, float>>;
inline TBytes Points(const TPointList& points) {
  TBytes bytes = I32(static_cast<std::int32_t>(points.size()));
  for (auto [x, y] : points) bytes = Cat({bytes, F32(x), F32(y)});
  return bytes;
}
// A graph series record; with points unless withData is false.
inline TBytes Series(const std::string& title, const TPointList& points, bool withData = true) {
  return Cat({StringBytes(title), StringBytes("X " + title), StringBytes("Y " + title), B(true),
              I32(0), I32(2), I32(0x00FF00), B(true), I32(3), I32(0xFF), I32(5), I32(6),
              withData ? Points(points) : TBytes{}});
}
// A table data set record, X shown, Y hidden; with points unless withData is false.
inline TBytes DataSet(const std::string& name, const TPointList& points, bool withData = true,
                      bool channel = false) {
  return Cat({B(channel), StringBytes(name), StringBytes("Xh"), StringBytes("Yh"), B(true),
              B(false), withData ? Points(points) : TBytes{}});
}
// A graph record without data: name, format, axes, chart, the series, no scrolling.
inline TBytes GraphRecord(const std::string& name, std::int32_t series) {
  TBytes bytes = Cat({StringBytes(name), I32(0), I32(0), B(true), F32(0), F32(1), B(true),
                      F32(0), F32(1), Chart(name), I32(series)});
  for (std::int32_t s = 0; s < series; ++s)
    bytes = Cat({bytes, Series("S" + std::to_string(s), {}, false)});
  return Cat({bytes, B(false)});
}

}  // namespace records
