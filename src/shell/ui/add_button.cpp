#include "shell/ui/add_button.h"

#include <QPushButton>

void ShowAddButton(QPushButton& add, QPushButton& ok, bool addingSeveral) {
  add.setVisible(addingSeveral);
  add.setDefault(addingSeveral);
  add.setAutoDefault(addingSeveral);
  ok.setDefault(!addingSeveral);
  ok.setAutoDefault(!addingSeveral);
}
