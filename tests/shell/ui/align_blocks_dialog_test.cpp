// "Align": its texts, its choices, the reset at every showing, and the editor's Align
// Blocks applying them to the diagram's multiselection.
#include "shell/ui/align_blocks_dialog.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "shell/draw_parts.h"
#include "support/fake_ui_port.h"
#include "support/ui/dialog_driver.h"

TEST(AlignBlocksDialog, TextsChoicesAndEveryShowingStartingFromNoChange) {
  TAlignBlocksForm form;
  EXPECT_EQ(form.windowTitle(), "Align");
  EXPECT_EQ(Control<QGroupBox>(form, "HortGroup")->title(), "Hortizontal ");
  EXPECT_EQ(Control<QGroupBox>(form, "VertGroup")->title(), "Vertical");
  QStringList hort, vert;
  for (const char* name : {"HortNoChange", "HortLeftSides", "HortRightSides", "HortCenters"})
    hort << Control<QRadioButton>(form, name)->text();
  for (const char* name : {"VertNoChange", "VertTops", "VertBottoms", "VertCenters"})
    vert << Control<QRadioButton>(form, name)->text();
  EXPECT_EQ(hort, (QStringList{"No Change", "Left Sides", "Right Sides", "Centers"}));
  EXPECT_EQ(vert, (QStringList{"No Change", "Tops", "Bottoms", "Centers"}));

  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.Horizontal(), 0);
  EXPECT_EQ(form.Vertical(), 0);
  ClickControl(form, "HortCenters");
  ClickControl(form, "VertBottoms");
  ClickControl(form, "OK");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.Horizontal(), 3);
  EXPECT_EQ(form.Vertical(), 2);

  form.show();
  EXPECT_EQ(form.Horizontal(), 0);
  EXPECT_EQ(form.Vertical(), 0);
  EXPECT_TRUE(Control<QRadioButton>(form, "HortNoChange")->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(form, "VertNoChange")->isChecked());
  ClickControl(form, "HortRightSides");
  ClickControl(form, "Cancel");
  EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST(AlignBlocksDialog, AlignBlocksAlignsTheMultiselectionOnOkOnly) {
  TFakeUiPort ui;
  TDrawParts parts;
  TDrawBlock* reference = parts.AddBlock("R", {10, 20});
  reference->SetSize(50, 50);
  TDrawBlock* other = parts.AddBlock("B", {100, 200});
  other->SetSize(30, 30);
  parts.ToggleMultiSelect(reference);
  parts.ToggleMultiSelect(other);
  ASSERT_EQ(parts.GetMultiSelection().front(), reference);

  {
    TModalDialogActor<TAlignBlocksForm> actor([](TAlignBlocksForm& form) {
      ClickControl(form, "VertTops");
      ClickControl(form, "Cancel");
    });
    EXPECT_FALSE(AlignBlocks(parts, nullptr));
    EXPECT_TRUE(actor.Seen);
  }
  EXPECT_EQ(other->GetRect().Left, 100);
  EXPECT_EQ(other->GetRect().Top, 200);

  // Tops, then right sides: B's top to R's, B's right side to R's (10 + 50 - 30).
  TModalDialogActor<TAlignBlocksForm> actor([](TAlignBlocksForm& form) {
    EXPECT_EQ(form.Vertical(), 0) << "a new showing starts from No Change";
    ClickControl(form, "VertTops");
    ClickControl(form, "HortRightSides");
    ClickControl(form, "OK");
  });
  EXPECT_TRUE(AlignBlocks(parts, nullptr));
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(other->GetRect().Left, 30);
  EXPECT_EQ(other->GetRect().Top, 20);
  EXPECT_EQ(reference->GetRect().Left, 10);
  EXPECT_EQ(reference->GetRect().Top, 20);
}
