#include "outputs/ui/window_title.h"

#include <utility>

namespace {

TTitleAsker& Asker() {
  static TTitleAsker asker;
  return asker;
}

}  // namespace

TTitleAsker SetTitleAsker(TTitleAsker asker) { return std::exchange(Asker(), std::move(asker)); }

bool CanAskTitle() { return static_cast<bool>(Asker()); }

bool AskTitle(QWidget* parent, std::string& title) {
  return Asker() && Asker()(parent, title);
}
