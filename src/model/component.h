// Window settings and icons travel in documents as component records: the class name
// of the component and its published properties. The record is our own:
//   string  class name
//   int32   property count
//   per property: string name, int32 kind (0 integer, 1 bool, 2 string, 3 float,
//                 4 bytes), then the value: int32 | bool | string | float |
//                 int32 byte count followed by the bytes
// A component read back must be of the same class; it receives the properties read.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

using TPropertyValue = std::variant<std::int32_t, bool, std::string, float, std::vector<std::uint8_t>>;

struct TProperty {
  std::string Name;
  TPropertyValue Value;
};

struct TComponentRecord {
  std::string ClassName;
  std::vector<TProperty> Properties;

  // The property's value when it is there with that kind, else null.
  template <typename T>
  const T* Find(const std::string& name) const {
    for (const auto& property : Properties)
      if (property.Name == name) return std::get_if<T>(&property.Value);
    return nullptr;
  }
};

// Something whose published properties are kept in documents.
class TComponent {
public:
  virtual ~TComponent() = default;
  virtual std::string GetClassName() const = 0;
  virtual void GetProperties(TComponentRecord& record) const = 0;
  virtual void SetProperties(const TComponentRecord& record) = 0;
};

// An icon: the bytes of an image file (PNG, ICO, ...) that the user interface decodes.
// Empty when there is none.
struct TIcon {
  std::vector<std::uint8_t> Image;
};
