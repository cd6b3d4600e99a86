// The help: every context of the topic table has its page and anchor; every link of every
// page leads to a page and anchor that exist; the contents and the index list every page;
// the help window's contents tree, index finder, back and forward; and, for every window
// and dialog, its Help buttons and items and F1 open the help window at its context's
// anchor, usable beside a modal dialog and kept when that dialog goes.
#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "communication/communications_tree.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/device_settings.h"
#include "communication/gpib_settings.h"
#include "communication/ui/change_color_form.h"
#include "communication/ui/device_dialog.h"
#include "communication/ui/device_occupied_dialog.h"
#include "communication/ui/device_scripts_dialog.h"
#include "communication/ui/interactive_form.h"
#include "communication/ui/reassign_device_dialog.h"
#include "communication/ui/scan_for_devices_form.h"
#include "model/block.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/ui/change_var_dialog.h"
#include "model/ui/variable_dialog.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/ui/active_scrolling_dialog.h"
#include "outputs/ui/add_output_dialog.h"
#include "outputs/ui/copy_data_dialog.h"
#include "outputs/ui/copy_row_select_dialog.h"
#include "outputs/ui/import_dialog.h"
#include "outputs/ui/log_to_file_dialog.h"
#include "outputs/ui/multi_file_dialog.h"
#include "outputs/ui/number_format_dialog.h"
#include "outputs/ui/output_window.h"
#include "outputs/ui/output_window_kinds.h"
#include "outputs/ui/print_table_dialog.h"
#include "outputs/ui/set_text_dialog.h"
#include "outputs/ui/single_file_dialog.h"
#include "outputs/ui/table_labels_dialog.h"
#include "platform/ui/help_pages.h"
#include "platform/ui/help_topics.h"
#include "platform/ui/help_window.h"
#include "platform/ui/help_wiring.h"
#include "scripts/outputs/plot_fixture.h"
#include "scripts/ui/clear_device_buffer_dialog.h"
#include "scripts/ui/clear_output_dialog.h"
#include "scripts/ui/create_new_file_dialog.h"
#include "scripts/ui/output_to_file_dialog.h"
#include "scripts/ui/plot_dialog.h"
#include "scripts/ui/send_binary_dialog.h"
#include "scripts/ui/send_dialog.h"
#include "scripts/ui/send_gpib_dialog.h"
#include "scripts/ui/send_rs232_dialog.h"
#include "scripts/ui/serial_poll_dialog.h"
#include "shell/draw_parts.h"
#include "shell/preferences.h"
#include "shell/ui/align_blocks_dialog.h"
#include "shell/ui/browse_dialog.h"
#include "shell/ui/edit_block_dialog.h"
#include "shell/ui/experiment_report_dialog.h"
#include "shell/ui/gpib_settings_dialog.h"
#include "shell/ui/main_window_fixture.h"
#include "shell/ui/preferences_dialog.h"
#include "support/ui/dialog_driver.h"

// Texts in failure messages as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {

QString Page(const QUrl& url) { return HelpResourcePath(url.adjusted(QUrl::RemoveFragment)); }

// The text of the heading (the paragraph) that holds an anchor of a page.
QString AnchorText(const QUrl& page, const QString& anchor) {
  std::unique_ptr<QTextDocument> document = LoadHelpPage(page);
  if (!document) return {};
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorNames().contains(anchor))
        return block.text().simplified();
  return {};
}

// The links of a page's lists (the contents tree and the index take those).
int ListedLinks(const QUrl& page) {
  int count = 0;
  for (const THelpLink& link : HelpPageLinks(page)) count += link.Level > 0;
  return count;
}

THelpWindow* Help() { return THelpWindow::Existing(); }

QUrl ContextUrl(int context) {
  const THelpTopic* topic = FindHelpTopic(context);
  return topic ? HelpTopicUrl(*topic) : QUrl();
}

// The help window is open and shows the topic of the context.
::testing::AssertionResult ShowsContext(int context) {
  if (!Help() || !Help()->isVisible()) return ::testing::AssertionFailure() << "no help shown";
  if (Help()->CurrentUrl() != ContextUrl(context))
    return ::testing::AssertionFailure()
           << "shows " << Help()->CurrentUrl().toString().toStdString() << " for " << context;
  return ::testing::AssertionSuccess();
}

// The tool button that shows an action in a window's tool bar; none for a menu item.
QToolButton* ButtonOf(QWidget& window, QAction* action) {
  for (QToolBar* bar : window.findChildren<QToolBar*>())
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) return button;
  return nullptr;
}

// Presses a Help button or help item by its name as a user does: a button or a tool bar
// button is clicked, a menu item chosen.
void PressHelp(QWidget& window, const char* name) {
  if (auto* button = window.findChild<QAbstractButton*>(name)) {
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
    return;
  }
  auto* item = window.findChild<QAction*>(name);
  ASSERT_NE(item, nullptr) << name;
  ASSERT_TRUE(item->isEnabled()) << name;
  if (QToolButton* button = ButtonOf(window, item)) QTest::mouseClick(button, Qt::LeftButton);
  else item->trigger();
}

void PressF1(QWidget& window) {
  QWidget* focus = window.focusWidget();
  QTest::keyClick(focus ? focus : &window, Qt::Key_F1);
}

// A modal window blocks every window but its own: the help window must be one of the
// modal dialog's windows (the test that Qt makes before it delivers input).
::testing::AssertionResult UsableBeside(QWidget& modal) {
  if (!Help() || !Help()->windowHandle() || !modal.windowHandle())
    return ::testing::AssertionFailure() << "no windows";
  if (QApplication::activeModalWidget() != &modal)
    return ::testing::AssertionFailure() << "the dialog is not the modal one";
  if (!modal.windowHandle()->isAncestorOf(Help()->windowHandle(), QWindow::IncludeTransients))
    return ::testing::AssertionFailure() << "the modal dialog blocks the help window";
  return ::testing::AssertionSuccess();
}

// The help window takes clicks: its Contents button shows the contents.
void ClickHelpContents() {
  ASSERT_NE(Help(), nullptr);
  QToolButton* contents = ButtonOf(*Help(), Help()->findChild<QAction*>("ContentsButton"));
  ASSERT_NE(contents, nullptr);
  QTest::mouseClick(contents, Qt::LeftButton);
}

// --- The pages ---

TEST(HelpPagesTest, EveryContextHasItsPageAndAnchorUnderItsTitle) {
  std::set<int> contexts;
  for (const THelpTopic& topic : HelpTopics()) {
    SCOPED_TRACE(topic.Context);
    EXPECT_TRUE(contexts.insert(topic.Context).second) << "twice in the table";
    EXPECT_EQ(FindHelpTopic(topic.Context), &topic);
    const QUrl url = HelpTopicUrl(topic);
    ASSERT_TRUE(HelpPageNames().contains(QString::fromLatin1(topic.Page))) << topic.Page;
    EXPECT_TRUE(HelpPageAnchors(url).contains(QString::fromLatin1(topic.Anchor))) << topic.Anchor;
    EXPECT_EQ(AnchorText(url, topic.Anchor), QString::fromLatin1(topic.Title));
  }
  // The windows and dialogs there are name these contexts.
  for (int context : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 17, 18, 22, 23, 24, 25, 26, 27,
                      28, 29, 30, 31, 32, 33, 34, 35, 36, 39, 40, 45, 46, 48, 49, 50, 51, 52, 53, 54,
                      56, 57, 58, 60, 61, 63, 64, 67, 69, 71, 72, 73, 74, 80})
    EXPECT_TRUE(contexts.count(context)) << context;
  EXPECT_EQ(FindHelpTopic(0), nullptr);
  EXPECT_EQ(FindHelpTopic(9999), nullptr);
}

TEST(HelpPagesTest, EveryLinkLeadsToAPageAndAnchorThatExist) {
  const QStringList pages = HelpPageNames();
  ASSERT_GE(pages.size(), 20);
  std::map<QString, QStringList> anchors;
  for (const QString& page : pages) anchors[page] = HelpPageAnchors(HelpPageUrl(page));
  int links = 0;
  for (const QString& page : pages) {
    SCOPED_TRACE(page.toStdString());
    // Each page has a title and starts with its heading's anchor.
    std::unique_ptr<QTextDocument> document = LoadHelpPage(HelpPageUrl(page));
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(document->metaInformation(QTextDocument::DocumentTitle).isEmpty());
    EXPECT_FALSE(anchors[page].isEmpty());
    for (const THelpLink& link : HelpPageLinks(HelpPageUrl(page))) {
      ++links;
      SCOPED_TRACE(link.Text.toStdString());
      EXPECT_FALSE(link.Text.isEmpty());
      const QString target = HelpResourcePath(link.Target.adjusted(QUrl::RemoveFragment));
      ASSERT_TRUE(target.startsWith(":/help/")) << link.Target.toString().toStdString();
      const QString name = target.mid(7);
      ASSERT_TRUE(pages.contains(name)) << name.toStdString();
      if (link.Target.hasFragment()) {
        EXPECT_TRUE(anchors[name].contains(link.Target.fragment()))
            << link.Target.toString().toStdString();
      }
    }
  }
  EXPECT_GT(links, 200);
}

TEST(HelpPagesTest, TheContentsAndTheIndexListEveryPageAndTheIndexIsSorted) {
  for (const QUrl& list : {HelpContentsUrl(), HelpIndexUrl()}) {
    SCOPED_TRACE(list.toString().toStdString());
    std::set<QString> linked;
    for (const THelpLink& link : HelpPageLinks(list)) linked.insert(Page(link.Target));
    for (const QString& page : HelpPageNames())
      if (HelpPageUrl(page) != list) {
        EXPECT_TRUE(linked.count(":/help/" + page)) << page.toStdString() << " is not listed";
      }
  }
  // Every topic of a context is in the contents at its own anchor, or at its page's top.
  std::set<QUrl> contents;
  for (const THelpLink& link : HelpPageLinks(HelpContentsUrl())) contents.insert(link.Target);
  for (const THelpTopic& topic : HelpTopics()) {
    const QUrl url = HelpTopicUrl(topic);
    EXPECT_TRUE(contents.count(url) || contents.count(url.adjusted(QUrl::RemoveFragment)))
        << topic.Context;
  }
  const std::vector<THelpLink> index = HelpPageLinks(HelpIndexUrl());
  ASSERT_GT(index.size(), 50u);
  for (std::size_t i = 1; i < index.size(); ++i)
    EXPECT_LT(index[i - 1].Text.compare(index[i].Text, Qt::CaseInsensitive), 0)
        << index[i - 1].Text.toStdString() << " / " << index[i].Text.toStdString();
}

// --- The help window ---

class HelpWindowTest : public ::testing::Test {
protected:
  ~HelpWindowTest() override { THelpWindow::Close(); }
};

TEST_F(HelpWindowTest, AContextShowsItsTopicScrolledToItsAnchor) {
  ShowHelp(45);  // far down the graph window's page
  ASSERT_TRUE(ShowsContext(45));
  THelpWindow& help = *Help();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
  EXPECT_EQ(help.windowTitle(), "Qorv Help - The graph window");
  QTextBrowser& pages = help.Browser();
  EXPECT_EQ(Page(pages.source()), ":/help/graph_window.html");
  // The anchor's heading is at the top of the view (or the view is at the page's end).
  const QTextDocument& document = *pages.document();
  QTextBlock heading;
  for (QTextBlock block = document.begin(); block.isValid() && !heading.isValid();
       block = block.next())
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorNames().contains("active-scrolling")) heading = block;
  ASSERT_TRUE(heading.isValid());
  QScrollBar* bar = pages.verticalScrollBar();
  const int top = qRound(document.documentLayout()->blockBoundingRect(heading).top());
  // A few pixels of the page above the heading stay in view.
  const int expected = top < bar->maximum() ? std::max(0, top - 12) : bar->maximum();
  EXPECT_GT(bar->value(), 0);
  EXPECT_NEAR(bar->value(), expected, 2);
  // Asked again after scrolling away, the topic comes back into view.
  bar->setValue(0);
  ShowHelp(45);
  EXPECT_NEAR(bar->value(), expected, 2);

  // The topic's heading is marked, since a topic near a page's end stays low in the view.
  ASSERT_EQ(pages.extraSelections().size(), 1);
  EXPECT_EQ(pages.extraSelections()[0].cursor.block(), heading);
  // A page's own topic is shown from the page's top, unmarked.
  ShowHelp(39);
  EXPECT_EQ(pages.verticalScrollBar()->value(), 0);
  EXPECT_TRUE(pages.extraSelections().isEmpty());
  ShowHelp(52);  // the last topic of the variables' page
  EXPECT_EQ(pages.extraSelections().size(), 1);
  EXPECT_EQ(pages.extraSelections()[0].cursor.block().text(),
            "The Rename or Change a variable dialog");

  // A number without a topic shows the contents.
  ShowHelp(9999);
  EXPECT_EQ(help.CurrentUrl(), HelpContentsUrl());
  EXPECT_EQ(help.findChild<QTabWidget*>("TopicTabs")->currentWidget()->objectName(),
            "ContentsTree");
}

TEST_F(HelpWindowTest, TheContentsTreeFollowsTheContentsPageAndThePageShown) {
  ShowHelpContents();
  ASSERT_TRUE(Help());
  auto* tree = Help()->findChild<QTreeWidget*>("ContentsTree");
  ASSERT_NE(tree, nullptr);
  // One entry per link of the page, nested as its lists are.
  int entries = 0;
  QTreeWidgetItem* variables = nullptr;
  for (QTreeWidgetItemIterator it(tree); *it; ++it, ++entries)
    if ((*it)->text(0) == "The Variables dialog") variables = *it;
  EXPECT_EQ(entries, ListedLinks(HelpContentsUrl()));
  ASSERT_NE(variables, nullptr);
  ASSERT_NE(variables->parent(), nullptr);
  EXPECT_EQ(variables->parent()->text(0), "Variables");
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "Qorv at a glance");

  // A click opens the entry; showing another page marks that page's entry.
  tree->scrollToItem(variables);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                    tree->visualItemRect(variables).center());
  EXPECT_TRUE(ShowsContext(14));
  ShowHelp(73);
  ASSERT_NE(tree->currentItem(), nullptr);
  EXPECT_EQ(tree->currentItem()->text(0), "The Single File dialog");
}

TEST_F(HelpWindowTest, TheIndexFindsWhatIsTypedAndBackAndForwardRetraceThePages) {
  ShowHelp(39);
  ShowHelpIndex();
  THelpWindow& help = *Help();
  EXPECT_EQ(help.CurrentUrl(), HelpIndexUrl());
  auto* find = help.findChild<QLineEdit*>("FindEdit");
  auto* topics = help.findChild<QListWidget*>("TopicList");
  ASSERT_TRUE(find && topics);
  EXPECT_TRUE(find->hasFocus() || !help.isActiveWindow());
  EXPECT_EQ(topics->count(), ListedLinks(HelpIndexUrl()));

  auto shown = [topics] {
    QStringList texts;
    for (int row = 0; row < topics->count(); ++row)
      if (!topics->item(row)->isHidden()) texts << topics->item(row)->text();
    return texts;
  };
  QTest::keyClicks(find, "BAUD");
  EXPECT_EQ(shown(), QStringList{"Baud rate"});
  // Entries holding the text stay; the first one starting with it is chosen.
  find->clear();
  QTest::keyClicks(find, "dialog");
  EXPECT_GT(shown().size(), 10);
  for (const QString& text : shown()) EXPECT_TRUE(text.contains("dialog", Qt::CaseInsensitive));
  find->clear();
  QTest::keyClicks(find, "var");
  ASSERT_NE(topics->currentItem(), nullptr);
  EXPECT_EQ(topics->currentItem()->text(), "Variables");
  EXPECT_TRUE(shown().contains("Current values of variables"));
  QTest::keyClick(find, Qt::Key_Down);
  EXPECT_EQ(topics->currentItem()->text(), "Variables dialog");
  QTest::keyClick(find, Qt::Key_Return);
  EXPECT_EQ(help.CurrentUrl(), ContextUrl(14));
  // Nothing found: Enter opens nothing.
  find->clear();
  QTest::keyClicks(find, "xyzzy");
  EXPECT_TRUE(shown().isEmpty());
  QTest::keyClick(find, Qt::Key_Return);
  EXPECT_EQ(help.CurrentUrl(), ContextUrl(14));

  // Back to the index, to the main window's page; forward again.
  QAction* back = help.findChild<QAction*>("BackButton");
  QAction* forward = help.findChild<QAction*>("ForwardButton");
  ASSERT_TRUE(back && forward);
  EXPECT_FALSE(forward->isEnabled());
  back->trigger();
  EXPECT_EQ(help.CurrentUrl(), HelpIndexUrl());
  back->trigger();
  EXPECT_EQ(Page(help.CurrentUrl()), ":/help/main_window.html");
  EXPECT_TRUE(forward->isEnabled());
  forward->trigger();
  EXPECT_EQ(help.CurrentUrl(), HelpIndexUrl());

  // Escape puts the window away; the next topic brings it back.
  help.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
  QTest::keyClick(find, Qt::Key_Escape);
  EXPECT_FALSE(help.isVisible());
  ShowHelp(14);
  EXPECT_TRUE(ShowsContext(14));

  // A click on a link of a page opens its target.
  ShowHelp(33);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
  QTextBrowser& pages = help.Browser();
  QTextCursor link;
  for (QTextBlock block = pages.document()->begin(); block.isValid(); block = block.next())
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorHref() == "outputs.html") {
        link = QTextCursor(pages.document());
        link.setPosition(it.fragment().position() + 1);
      }
  ASSERT_FALSE(link.isNull());
  pages.setTextCursor(link);
  pages.ensureCursorVisible();
  QTest::mouseClick(pages.viewport(), Qt::LeftButton, {}, pages.cursorRect(link).center());
  EXPECT_EQ(help.CurrentUrl(), HelpPageUrl("outputs.html"));
  back->trigger();
  EXPECT_EQ(help.CurrentUrl(), ContextUrl(33));
}

// --- Help from every window and dialog ---

// A window or dialog of the program with its Help buttons and items and the context each
// opens; F1 opens the window's own context.
struct THelpCase {
  const char* Name;
  int Context;
  std::vector<std::pair<const char*, int>> Items;
  bool Modal;  // shown as its callers show it: a modal dialog
  std::function<std::unique_ptr<QWidget>()> Make;
};

class HelpFromWindowsTest : public TPlotFixture {
protected:
  HelpFromWindowsTest() {
    // The machine's ports and boards, for the device dialogs' tree.
    TGpibSettings gpib;
    Devices.BuildCommunicationsTree(gpib);
    InstallHelp();
    InstallOutputWindows();
    Exp.SelectBlock(B1->AExpNode);
  }
  ~HelpFromWindowsTest() override {
    RemoveHelp();
    EXPECT_EQ(Help(), nullptr);  // the help window goes with the last wiring
  }

  std::vector<THelpCase> Cases() {
    return {
        {"Variables", 14, {{"Help", 14}}, true,
         [this] {
           Variables.NameList = &Exp.GetDataSingleList()->GetDataNameList();
           return std::make_unique<TDataForm>(Variables);
         }},
        {"Rename or Change a variable", 52, {{"Help", 52}}, true,
         [this] {
           Change.NameList = &Exp.GetDataSingleList()->GetDataNameList();
           Change.OfferCancel = true;
           return std::make_unique<TChangeVarForm>(Change);
         }},
        {"Add Output", 17, {{"Help", 17}}, true,
         [this] {
           Outputs.List = Exp.GetOutputList();
           return std::make_unique<TAddOutputForm>(Outputs);
         }},
        {"Single File", 73, {{"Help", 73}}, true,
         [this] {
           Single.List = Exp.GetSingleExpFileList();
           return std::make_unique<TSingleExpFileForm>(Single);
         }},
        {"Multiple File", 74, {{"Help", 74}}, true,
         [this] {
           Multiple.List = Exp.GetMultiExpFileList();
           return std::make_unique<TMultiExpFileForm>(Multiple);
         }},
        {"Number Format", 33, {{"Help", 33}}, true,
         [] { return std::make_unique<TNumberFormatForm>(); }},
        {"BigNum Log To File", 46, {{"Help", 46}}, true,
         [] { return std::make_unique<TLogToFileForm>(); }},
        {"Edit Experiment Block", 36, {{"Help", 36}}, true,
         [this] {
           Block.Title = "B1";
           return std::make_unique<TEditBlockForm>(Block);
         }},
        {"Align", 49, {{"Help", 49}}, true, [] { return std::make_unique<TAlignBlocksForm>(); }},
        {"Set Title", 34, {{"Help", 34}}, true, [] { return std::make_unique<TSetTextForm>(); }},
        {"Plot", 6, {{"Help", 6}}, true,
         [] {
           static TPlotScriptRequest request;
           return std::make_unique<TPlotScriptForm>(request);
         }},
        {"Output To File", 71, {{"Help", 71}}, true,
         [] {
           static TOutputToFileRequest request;
           return std::make_unique<TOutputToFileForm>(request);
         }},
        {"Clear Output", 67, {{"Help", 67}}, true,
         [] {
           static TClearScriptRequest request;
           return std::make_unique<TClearScriptForm>(request);
         }},
        {"Create a New File", 72, {{"Help", 72}}, true,
         [] {
           static TCreateNewFileRequest request;
           return std::make_unique<TCreateNewFileForm>(request);
         }},
        {"Import", 40, {{"Help", 40}}, true, [] { return std::make_unique<TImportForm>(); }},
        {"Active Scrolling", 45, {{"Help", 45}}, true,
         [] { return std::make_unique<TActiveScrollingForm>(); }},
        {"GPIB Settings", 26, {{"Help", 26}}, true,
         [this] { return std::make_unique<TGPIBAdvancedForm>(Gpib); }},
        {"Preferences", 27, {{"Help", 27}}, true,
         [this] { return std::make_unique<TExperimentPreferencesForm>(Preferences); }},
        {"Find Directory", 51, {{"Help", 51}}, true,
         [] { return std::make_unique<TBrowseForm>(); }},
        {"Experiment Report", 56, {{"Help", 56}}, true,
         [this] { return std::make_unique<TExperimentPrintoutForm>(Exp, Devices); }},
        {"Add or Edit a Device", 22, {{"Help", 22}}, true,
         [this] {
           NewDevice.List = &Devices;
           return std::make_unique<TDeviceForm>(NewDevice);
         }},
        {"Edit Device Scripts", 50, {{"Help", 50}}, true,
         [this] {
           Scripts.Device = &Devices.NewDevice()->GetCoreDevice();
           return std::make_unique<TAddDeviceScriptsForm>(Scripts);
         }},
        {"Device Address Occupied", 53, {{"Help", 53}}, true,
         [this] {
           Occupied.CommunicationName = "COM1";
           Occupied.OccupantName = "Meter";
           return std::make_unique<TDeviceOccupiedForm>(Occupied);
         }},
        {"Reassign Device To...", 54, {{"Help", 54}}, true,
         [this] {
           Reassign.Tree = &Devices.GetCommunicationsTree();
           Reassign.DeviceName = "Meter";
           return std::make_unique<TReassignDeviceForm>(Reassign);
         }},
        {"Interact", 24, {{"Help", 24}}, true,
         [this] { return std::make_unique<TInteractiveForm>(Console); }},
        {"Scan For Devices", 25, {{"Help", 25}}, true,
         [this] {
           Scan.List = &Devices;
           return std::make_unique<TScanForDevicesForm>(Scan);
         }},
        {"Change Colors", 58, {{"Help", 58}}, true,
         [this] {
           Colors.Colors = &ConsoleColors();
           return std::make_unique<TInteractiveChangeColorForm>(Colors);
         }},
        {"Copy Data To Clipboard", 57, {{"Help", 57}}, true,
         [] { return std::make_unique<TCopyDataForm>(); }},
        {"Row Select", 61, {{"Help", 61}}, true,
         [] {
           auto rows = std::make_unique<TCopyRowSelectForm>();
           rows->Prepare(0, 9, 61, 9);  // as the copy dialog's Edit Points opens it
           return rows;
         }},
        {"Print Table", 64, {{"Help", 64}}, true,
         [] { return std::make_unique<TPrintTableForm>(); }},
        {"Send", 10, {{"Help", 10}}, true,
         [this] { return std::make_unique<TSendScriptForm>(SendRequest); }},
        {"Send GPIB Commands", 12, {{"Help", 12}}, true,
         [this] { return std::make_unique<TSendGPIBScriptForm>(GpibRequest); }},
        {"Send RS232", 12, {{"Help", 12}}, true,
         [this] { return std::make_unique<TSendRS232Form>(Rs232Request); }},
        {"Serial Poll", 23, {{"Help", 23}}, true,
         [this] { return std::make_unique<TSerialPollScriptForm>(PollRequest); }},
        {"Send Binary Data", 63, {{"Help", 63}}, true,
         [this] { return std::make_unique<TSendBinaryForm>(BinaryRequest); }},
        {"ClearDevice Buffer", 69, {{"Help", 69}}, true,
         [this] { return std::make_unique<TClearDeviceBufferScriptForm>(ClearRequest); }},
        {"Table Labels", 35, {{"Help", 35}}, true,
         [this] {
           auto labels = std::make_unique<TTableLabelsForm>(
               Table(Output("Readings", otTABLE, 2)));
           labels->Prepare("Readings", QFont());
           return labels;
         }},
    };
  }

  // The output windows, which their outputs own.
  struct TOutputCase {
    const char* Name;
    std::uint8_t Kind;
    int Context;
    std::vector<std::pair<const char*, int>> Items;
  };
  static std::vector<TOutputCase> OutputCases() {
    return {
        {"text", otTEXT, 29, {{"HelpButton", 29}, {"HelpMenuItem", 29}, {"TextHelp", 29},
                              {"OutputHelp", 17}}},
        {"big number", otBIGNUMBER, 30, {{"BigNumHelp", 30}, {"OutputHelp", 17}}},
        {"table", otTABLE, 31, {{"HelpButton", 31}, {"TableHelp", 31}, {"OutputHelp", 17}}},
        {"graph", otGRAPH, 32, {{"HelpButton", 32}, {"GraphHelp", 32}, {"OutputHelp", 17}}},
    };
  }

  // Each item and F1 open the help at their context; with a modal window the help window
  // takes clicks all the same.
  static void CheckHelpOf(QWidget& window, int context,
                          const std::vector<std::pair<const char*, int>>& items, bool modal) {
    for (const auto& [name, itemContext] : items) {
      SCOPED_TRACE(name);
      THelpWindow::Close();
      PressHelp(window, name);
      EXPECT_TRUE(ShowsContext(itemContext));
      if (modal) {
        EXPECT_TRUE(UsableBeside(window));
        ClickHelpContents();
        EXPECT_EQ(Help()->CurrentUrl(), HelpContentsUrl()) << "the modal dialog blocks the help";
      }
    }
    THelpWindow::Close();
    PressF1(window);
    EXPECT_TRUE(ShowsContext(context)) << "F1";
    // F1 again, after browsing elsewhere, comes back to the topic.
    ShowHelpContents();
    PressF1(window);
    EXPECT_TRUE(ShowsContext(context)) << "F1 again";
  }

  TDataFormRequest Variables;
  TChangeVarRequest Change;
  TOutputDialogRequest Outputs;
  TSingleExpFileRequest Single;
  TMultiExpFileRequest Multiple;
  TEditBlockRequest Block;
  TGpibSettingsRequest Gpib;
  TExperimentPreferencesRequest Preferences;
  TDeviceList Devices{&Exp};
  TDeviceFormRequest NewDevice;
  TDeviceScriptsRequest Scripts;
  TDeviceOccupiedRequest Occupied;
  TReassignDeviceRequest Reassign;
  TInteractRequest Console;
  TScanForDevicesRequest Scan;
  TChangeColorsRequest Colors;
  TSendScriptRequest SendRequest;
  TSendGPIBScriptRequest GpibRequest;
  TSendRS232ScriptRequest Rs232Request;
  TSerialPollScriptRequest PollRequest;
  TSendBinaryScriptRequest BinaryRequest;
  TClearDeviceBufferScriptRequest ClearRequest;
};

TEST_F(HelpFromWindowsTest, EveryDialogsHelpButtonAndF1OpenItsTopic) {
  for (const THelpCase& shown : Cases()) {
    SCOPED_TRACE(shown.Name);
    std::unique_ptr<QWidget> dialog = shown.Make();
    // Before it shows, Help waits for the wiring; the dialog names its context itself.
    auto* help = dialog->findChild<QAbstractButton*>("Help");
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->isEnabled());
    EXPECT_EQ(HelpContextOf(dialog.get()), shown.Context);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    EXPECT_TRUE(help->isEnabled());
    CheckHelpOf(*dialog, shown.Context, shown.Items, shown.Modal);
    // The help stays open when the dialog closes, and when it goes.
    dialog->hide();
    ASSERT_NE(Help(), nullptr);
    EXPECT_TRUE(Help()->isVisible());
    dialog.reset();
    ASSERT_NE(Help(), nullptr);
    EXPECT_TRUE(Help()->isVisible());
    EXPECT_TRUE(ShowsContext(shown.Context));
  }
}

TEST_F(HelpFromWindowsTest, EveryOutputWindowsHelpItemsAndF1OpenTheirTopics) {
  for (const TOutputCase& shown : OutputCases()) {
    SCOPED_TRACE(shown.Name);
    TOutput* output = Output(std::string("Readings ") + shown.Name, shown.Kind,
                             shown.Kind == otGRAPH || shown.Kind == otTABLE ? 2 : 1);
    output->ShowOutputForm();
    auto* window = dynamic_cast<TOutputWindow*>(output->GetOutputForm()->GetView());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    CheckHelpOf(*window, shown.Context, shown.Items, false);
    EXPECT_EQ(Help()->parentWidget(), nullptr);
    window->hide();
  }
}

TEST_F(HelpFromWindowsTest, HelpFromADialogThatRunsModallyStaysAfterIt) {
  // The Align dialog as the block editor runs it: F1 and a click in the help window while
  // it waits, then Cancel.
  TDrawParts parts;
  bool opened = false;
  TModalDialogActor<TAlignBlocksForm> actor([&](TAlignBlocksForm& dialog) {
    PressF1(dialog);
    opened = ShowsContext(49) && UsableBeside(dialog);
    ClickHelpContents();
    opened = opened && Help()->CurrentUrl() == HelpContentsUrl();
    ClickControl(dialog, "Cancel");
  });
  EXPECT_FALSE(AlignBlocks(parts, nullptr));
  EXPECT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_TRUE(opened);
  ASSERT_NE(Help(), nullptr);
  EXPECT_TRUE(Help()->isVisible());
  EXPECT_EQ(Help()->parentWidget(), nullptr);
}

// --- The main window ---

class HelpFromMainWindowTest : public TMainWindowTest {};

TEST_F(HelpFromMainWindowTest, HelpButtonF1ContentsAndIndexOpenTheHelp) {
  StartQorv();
  QWidget& window = *Window;
  EXPECT_EQ(HelpContextOf(&window), 39);
  PressHelp(window, "HelpButton");
  EXPECT_TRUE(ShowsContext(39));
  THelpWindow::Close();
  PressF1(window);
  EXPECT_TRUE(ShowsContext(39));

  Trigger("ContentsMenuItem");
  EXPECT_EQ(Help()->CurrentUrl(), HelpContentsUrl());
  Trigger("IndexMenuItem");
  EXPECT_EQ(Help()->CurrentUrl(), HelpIndexUrl());
  EXPECT_EQ(Help()->findChild<QTabWidget*>("TopicTabs")->currentWidget()->objectName(),
            "IndexPage");

  // A dialog shown over the main window has its own topic.
  {
    TNumberFormatForm format(&window);
    format.setWindowModality(Qt::ApplicationModal);
    format.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&format));
    PressHelp(format, "Help");
    EXPECT_TRUE(ShowsContext(33));
    EXPECT_TRUE(UsableBeside(format));
  }
  EXPECT_TRUE(ShowsContext(33));

  // The help goes with the main window.
  CloseWithoutQuestions();
  EXPECT_EQ(Help(), nullptr);
}

}  // namespace
