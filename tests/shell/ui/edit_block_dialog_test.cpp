// "Edit Experiment Block" and the block icons: the title, the start flag, the icon strip
// with its add and delete, the checks of OK, and the block's edit through the dialog.
#include "shell/ui/edit_block_dialog.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDataStream>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "model/block.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "shell/draw_parts.h"
#include "shell/ui/block_icons.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/qt_ui_port.h"
#include "shell/ui/shell_dialogs.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

using TTexts = std::vector<std::string>;

// A picture file of one colour, in the format its extension names.
std::string WritePicture(const TTempDir& temp, const std::string& name, QSize size, QColor colour) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  const std::string path = temp.PathOf(name);
  EXPECT_TRUE(image.save(QString::fromStdString(path)));
  return path;
}

// An ".ico" holding one square picture of each size and colour (PNG-coded entries).
std::string WriteIco(const TTempDir& temp, const std::string& name,
                     const std::vector<std::pair<int, QColor>>& entries) {
  QByteArray head, data;
  QDataStream out(&head, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out << quint16(0) << quint16(1) << quint16(entries.size());
  for (const auto& [side, colour] : entries) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    out << quint8(side) << quint8(side) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
        << quint32(png.size()) << quint32(6 + 16 * entries.size() + data.size());
    data += png;
  }
  const std::string path = temp.PathOf(name);
  std::ofstream(path, std::ios::binary).write((head + data).constData(), head.size() + data.size());
  return path;
}

class EditBlockDialogTest : public ::testing::Test {
protected:
  EditBlockDialogTest() { BlockIcons().Clear(); }
  ~EditBlockDialogTest() override { BlockIcons().Clear(); }

  template <class TWidget>
  static TWidget* Find(QWidget& dialog, const char* name) {
    return Control<TWidget>(dialog, name);
  }
  // The dialog as the registry shows it, but not modal.
  void Show(TEditBlockForm& dialog) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }
  static void Click(QWidget& dialog, const char* name) { ClickControl(dialog, name); }
  static void ClickStrip(QWidget& dialog, int x) {
    QWidget* box = Find<QWidget>(dialog, "IconBox");
    ASSERT_LT(x, box->width());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(x, 18));
  }
  static void TypeTitle(QWidget& dialog, const char* title) {
    auto* edit = Find<QLineEdit>(dialog, "BlockEdit");
    edit->clear();
    QTest::keyClicks(edit, title);
  }
  static TEditBlockRequest Request(const std::string& title, const std::string& iconFile,
                                   bool start) {
    TEditBlockRequest request;
    request.Title = title;
    request.IconFile = iconFile;
    request.SetAsStart = start;
    return request;
  }
  static bool Accepted(const QDialog& dialog) {
    return !dialog.isVisible() && dialog.result() == QDialog::Accepted;
  }

  TTempDir Temp;
  TScriptedUserDialogs Dialogs;
};

TEST_F(EditBlockDialogTest, TitleAndStartFlagWithTheDefaultIcon) {
  // The start block: "Set As Start" checked and disabled, no icon file so the default.
  TEditBlockRequest start = Request("Start Block", "", true);
  {
    TEditBlockForm dialog(start);
    Show(dialog);
    EXPECT_EQ(dialog.windowTitle(), "Edit Experiment Block");
    EXPECT_EQ(Find<QLineEdit>(dialog, "BlockEdit")->text(), "Start Block");
    EXPECT_TRUE(Find<QCheckBox>(dialog, "SetAsStartBox")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dialog, "SetAsStartBox")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "DefaultIconCheck")->isChecked());
    EXPECT_FALSE(Find<QWidget>(dialog, "ScrollBox")->isVisible());

    TypeTitle(dialog, "");
    Dialogs.ScriptAnswers({mbOK});
    Click(dialog, "Ok");
    EXPECT_EQ(Dialogs.Texts(), TTexts{"You must enter a title"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(start.Title, "Start Block") << "nothing changes before OK succeeds";
    TypeTitle(dialog, "Warm up");
    Click(dialog, "Ok");
    EXPECT_TRUE(Accepted(dialog));
  }
  EXPECT_EQ(start.Title, "Warm up");
  EXPECT_TRUE(start.SetAsStart);

  // Another block whose icon file has gone since: not added, the default icon shown; it
  // can be made the start block, which switches the default picture.
  TEditBlockRequest other = Request("Block 1", Temp.PathOf("gone.ico"), false);
  TEditBlockForm dialog(other);
  Show(dialog);
  EXPECT_EQ(dialog.GetIconFileCount(), 0);
  EXPECT_TRUE(Find<QCheckBox>(dialog, "DefaultIconCheck")->isChecked());
  auto* picture = Find<QLabel>(dialog, "DefaultImage");
  EXPECT_EQ(picture->pixmap().toImage(), DefaultBlockIcon(false));
  Click(dialog, "SetAsStartBox");
  EXPECT_EQ(picture->pixmap().toImage(), DefaultBlockIcon(true));
  Click(dialog, "Ok");
  EXPECT_TRUE(Accepted(dialog));
  EXPECT_TRUE(other.SetAsStart);
  EXPECT_EQ(other.IconFile, "");
}

TEST_F(EditBlockDialogTest, TheStripListsEachIconOnceAndOkGivesTheSelectedOne) {
  const std::string red = WritePicture(Temp, "red.png", {32, 32}, Qt::red);
  const std::string green = WritePicture(Temp, "green.bmp", {32, 32}, Qt::green);
  const std::string text = Temp.PathOf("text.png");
  std::ofstream(text) << "not a picture";

  // The box's icon file joins the list and is selected.
  TEditBlockRequest request = Request("Heat", red, false);
  TEditBlockForm dialog(request);
  Show(dialog);
  EXPECT_FALSE(Find<QCheckBox>(dialog, "DefaultIconCheck")->isChecked());
  ASSERT_EQ(dialog.GetIconFileCount(), 1);

  // Add green, red again, a file that is no picture, then cancel the chooser.
  Dialogs.ScriptFiles({green, red, text, ""});
  for (int i = 0; i < 4; ++i) Click(dialog, "Add");
  ASSERT_EQ(Dialogs.FileChoices().size(), 4u);
  EXPECT_NE(Dialogs.FileChoices()[0].Choice.Filter.find("*.ico"), std::string::npos);
  EXPECT_EQ(dialog.GetIconFileCount(), 2);
  EXPECT_EQ(dialog.GetIconFile(0), red);
  EXPECT_EQ(dialog.GetIconFile(1), green);
  EXPECT_EQ(dialog.SelectedCell(), 0) << "the file added again, then cell 0";

  // The strip draws each icon in its 36-pixel cell, 2 pixels in.
  const QImage strip = Find<QWidget>(dialog, "IconBox")->grab().toImage();
  EXPECT_EQ(strip.pixelColor(2 + 16, 2 + 16), QColor(Qt::red));
  EXPECT_EQ(strip.pixelColor(36 + 2 + 16, 2 + 16), QColor(Qt::green));

  ClickStrip(dialog, 36 + 5);
  EXPECT_EQ(dialog.SelectedCell(), 1);
  Click(dialog, "Ok");
  EXPECT_TRUE(Accepted(dialog));
  EXPECT_EQ(request.IconFile, green);
}

TEST_F(EditBlockDialogTest, DeleteTakesOnlyAListedIconAndOkThenAsksForOne) {
  const std::string red = WritePicture(Temp, "red.png", {32, 32}, Qt::red);
  TEditBlockRequest request = Request("Cool", red, false);
  TEditBlockForm dialog(request);
  Show(dialog);
  auto* deleteButton = Find<QPushButton>(dialog, "Delete");
  EXPECT_TRUE(deleteButton->isEnabled());

  // Right of the last cell: Delete takes nothing, OK finds no icon there.
  Dialogs.ScriptAnswers({mbOK, mbOK});
  ClickStrip(dialog, 3 * 36 + 1);
  EXPECT_EQ(dialog.SelectedCell(), 3);
  Click(dialog, "Delete");
  EXPECT_EQ(dialog.GetIconFileCount(), 1);
  Click(dialog, "Ok");
  EXPECT_EQ(Dialogs.Texts(), TTexts{"Please choose an icon again"});
  EXPECT_TRUE(dialog.isVisible());

  // The only icon deleted: Delete disabled; OK without the default icon is refused and
  // empties the title.
  ClickStrip(dialog, 10);
  Click(dialog, "Delete");
  EXPECT_EQ(dialog.GetIconFileCount(), 0);
  EXPECT_FALSE(deleteButton->isEnabled());
  Click(dialog, "Ok");
  EXPECT_EQ(Dialogs.Texts().back(), "You add an icon or check Use Default Icon");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Find<QLineEdit>(dialog, "BlockEdit")->text(), "");
  EXPECT_EQ(request.IconFile, red) << "nothing changes before OK succeeds";

  Click(dialog, "DefaultIconCheck");
  TypeTitle(dialog, "Cool down");
  Click(dialog, "Ok");
  EXPECT_TRUE(Accepted(dialog));
  EXPECT_EQ(request.IconFile, "");
}

TEST_F(EditBlockDialogTest, OkAndAddWaitWhileARunIsActive) {
  TEditBlockRequest request;
  ExperimentRunning = true;
  TEditBlockForm running(request);
  ExperimentRunning = false;
  EXPECT_FALSE(Find<QWidget>(running, "Ok")->isEnabled());
  EXPECT_FALSE(Find<QWidget>(running, "Add")->isEnabled());
}

TEST_F(EditBlockDialogTest, BlockIconsAre32PixelsFromIcoEntriesOrScaledPictures) {
  // The 32-pixel entry of an ".ico" as it is; without one, its largest picture scaled.
  const QImage ico = LoadBlockIcon(QString::fromStdString(
      WriteIco(Temp, "three.ico", {{16, Qt::red}, {32, Qt::green}, {48, Qt::blue}})));
  ASSERT_EQ(ico.size(), QSize(32, 32));
  EXPECT_EQ(ico.pixelColor(16, 16), QColor(Qt::green));
  const QImage large = LoadBlockIcon(
      QString::fromStdString(WriteIco(Temp, "two.ico", {{16, Qt::red}, {64, Qt::blue}})));
  ASSERT_EQ(large.size(), QSize(32, 32));
  EXPECT_EQ(large.pixelColor(16, 16), QColor(Qt::blue));
  // A wide picture keeps its proportions, centred.
  const QImage wide = LoadBlockIcon(
      QString::fromStdString(WritePicture(Temp, "wide.png", {64, 32}, Qt::red)));
  ASSERT_EQ(wide.size(), QSize(32, 32));
  EXPECT_EQ(wide.pixelColor(16, 16), QColor(Qt::red));
  EXPECT_EQ(wide.pixelColor(16, 2).alpha(), 0);

  // A box shows its icon file, else the default icon of its kind.
  EXPECT_EQ(DefaultBlockIcon(true).size(), QSize(32, 32));
  EXPECT_NE(DefaultBlockIcon(true), DefaultBlockIcon(false));
  EXPECT_EQ(BlockIconOf(Temp.PathOf("gone.ico"), false), DefaultBlockIcon(false));
  EXPECT_EQ(BlockIconOf(Temp.PathOf("three.ico"), true), ico);
}

TEST_F(EditBlockDialogTest, TheBlocksEditOpensTheDialogAndTakesItsAnswer) {
  TDialogRegistry registry;
  RegisterShellDialogs(registry);
  TQtUiPort port;
  port.SetDialogRegistry(&registry);
  TUiPort* previous = SetUiPort(&port);
  const std::string red = WritePicture(Temp, "red.png", {32, 32}, Qt::red);
  {
    TDrawParts parts;
    TExperiment experiment;
    TDrawBlock* box = parts.AddBlock("Block 1", {0, 0});
    TTreeNode* node = experiment.GetExperimentTree().Add(nullptr, "Block 1");
    auto* block = new TBlock(&experiment, node, box);
    box->SetTitle("Block 1");

    Dialogs.ScriptFiles({red});
    TModalDialogActor<TEditBlockForm> actor([&](TEditBlockForm& dialog) {
      TypeTitle(dialog, "Measure");
      Click(dialog, "DefaultIconCheck");
      Click(dialog, "Add");
      Click(dialog, "SetAsStartBox");
      Click(dialog, "Ok");
    });
    EXPECT_EQ(block->Edit(), 1);
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    EXPECT_EQ(block->GetTitle(), "Measure");
    EXPECT_EQ(box->GetIconFile(), red);
    EXPECT_TRUE(block->IsStartBlock());
  }
  SetUiPort(previous);
}

}  // namespace
