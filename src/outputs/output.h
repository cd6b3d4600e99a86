// An output of the experiment: an attribute naming one output window (text, table,
// graph or big number) with its channels. Its window, record and dialog join it as the
// outputs are built; here it has what references to it need.
#pragma once

#include <cstdint>
#include <string>

#include "model/exp_attribute.h"

// Output kinds (one byte in documents).
enum TOutputType : std::uint8_t {
  otTEXT = 3,
  otTABLE = 4,
  otGRAPH = 5,
  otBIGNUMBER = 6,
};

class TOutput : public TExpAttribute {
public:
  TOutput(const std::string& name, TTreeNode* node, std::uint8_t outputType = otGRAPH,
          std::int32_t channels = 1);

  int Edit() override;
  TAttributeType GetAttributeType() const override { return OUTPUT; }

  std::uint8_t Poutputtype;
  std::int32_t NumberOfChannels;  // at least 1
};
