#include "outputs/output.h"

#include "model/tree_node.h"

TOutput::TOutput(const std::string& name, TTreeNode* node, std::uint8_t outputType,
                 std::int32_t channels)
    : TExpAttribute(name, node), Poutputtype(outputType), NumberOfChannels(channels < 1 ? 1 : channels) {
  if (AExpAttNode) {
    AExpAttNode->SetText(name);
    AExpAttNode->SetImageIndex(OutputImage(outputType));
    AExpAttNode->SetSelectedIndex(OutputImage(outputType));
  }
}

int TOutput::Edit() {
  return 0;  // the output dialog comes with the output windows
}
