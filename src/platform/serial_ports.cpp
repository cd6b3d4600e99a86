#include "platform/serial_ports.h"

#include <libserialport.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace {

// Compares names with runs of digits taken as numbers: ttyS2 < ttyS10 < ttyUSB0.
bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitA = std::isdigit(static_cast<unsigned char>(a[i]));
    const bool digitB = std::isdigit(static_cast<unsigned char>(b[j]));
    if (digitA && digitB) {
      std::size_t endA = i, endB = j;
      while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) ++endA;
      while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) ++endB;
      std::string numberA = a.substr(i, endA - i), numberB = b.substr(j, endB - j);
      numberA.erase(0, std::min(numberA.find_first_not_of('0'), numberA.size()));
      numberB.erase(0, std::min(numberB.find_first_not_of('0'), numberB.size()));
      if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
      if (numberA != numberB) return numberA < numberB;
      i = endA;
      j = endB;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

TSerialPortLister& Lister() {
  static TSerialPortLister lister;
  return lister;
}

std::vector<std::string> ListedPorts() {
  std::vector<std::string> names;
  sp_port** ports = nullptr;
  if (sp_list_ports(&ports) != SP_OK) return names;
  for (sp_port** port = ports; port && *port; ++port)
    if (const char* name = sp_get_port_name(*port)) names.emplace_back(name);
  sp_free_port_list(ports);
  return names;
}

std::vector<std::string> MachinePorts() {
  std::vector<std::string> names = Lister() ? Lister()() : ListedPorts();
  std::sort(names.begin(), names.end(), NaturalLess);
  return names;
}

}  // namespace

TSerialPortLister SetSerialPortLister(TSerialPortLister lister) {
  return std::exchange(Lister(), std::move(lister));
}

std::vector<std::string> SerialPortTable() {
  const char* table = std::getenv("QORV_SERIAL_PORTS");
  if (!table) return MachinePorts();
  std::vector<std::string> paths;
  const std::string text = table;
  if (text.empty()) return paths;
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = text.find(':', start);
    paths.push_back(text.substr(start, colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return paths;
}

std::string SerialPortPath(int portIndex) {
  const std::vector<std::string> table = SerialPortTable();
  if (portIndex < 0 || static_cast<std::size_t>(portIndex) >= table.size()) return {};
  return table[static_cast<std::size_t>(portIndex)];
}
