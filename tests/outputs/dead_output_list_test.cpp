// The detached-output list: windows opened from output files and taken off-line, their
// numbered entries in the parent menu (kept after a delete), the entries' Show, Bring
// To Front and Delete found by position, renames, the refusal of damaged files; and the
// main window's ways of showing outputs (Show of the attribute tree, Bring Outputs To
// Front).
#include "outputs/dead_output_list.h"

#include <gtest/gtest.h>

#include <map>

#include "model/number_text.h"
#include "outputs/output_file.h"
#include "outputs/output_records.h"
#include "scripts/outputs/plot_fixture.h"
#include "shell/output_windows.h"

namespace {

// A display that records what the list and the outputs asked of it.
class TRecordingView final : public TOutputView {
public:
  void Changed(TOutputForm&) override {}
  void ShowRequested(TOutputForm& form) override { Visible[&form] = true; }
  void HideRequested(TOutputForm& form) override { Visible[&form] = false; }
  bool IsVisible(const TOutputForm& form) const override {
    const auto at = Visible.find(&form);
    return at != Visible.end() && at->second;
  }
  void BringToFrontRequested(TOutputForm& form) override { Raised.push_back(form.GetName()); }
  void ShowInFrontRequested(TOutputForm& form) override {
    Visible[&form] = true;
    Raised.push_back(form.GetName());
  }
  void FormDestroyed(TOutputForm& form) override {
    Destroyed.push_back(form.GetName());
    Visible.erase(&form);
  }

  std::map<const TOutputForm*, bool> Visible;
  TTexts Raised;
  TTexts Destroyed;
};

// The parent menu item: its items' captions (the first Base of them are not entries).
class TRecordingMenu final : public TDeadOutputMenu {
public:
  explicit TRecordingMenu(TRecordingView& view, int base = 0)
      : View(view), Items(static_cast<std::size_t>(base), "other item") {}
  int ItemCount() const override { return static_cast<int>(Items.size()); }
  void AddEntry(const std::string& caption) override { Items.push_back(caption); }
  void SetEntryCaption(int position, const std::string& caption) override {
    Items.at(static_cast<std::size_t>(position)) = caption;
  }
  void RemoveEntry(int position) override { Items.erase(Items.begin() + position); }
  void SetEnabled(bool enabled) override { Enabled = enabled; }
  void AttachWindow(TOutputForm& form) override {
    form.SetView(&View);
    ++Attached;
  }

  TRecordingView& View;
  TTexts Items;
  bool Enabled = false;
  int Attached = 0;
};

class DeadOutputListTest : public TPlotFixture {
protected:
  // An output file of the kind saved from a detached window named so.
  std::string SavedFile(const std::string& file, std::uint8_t kind, const std::string& name) {
    std::unique_ptr<TOutputForm> form = MakeDetachedForm(kind, nullptr);
    form->SetName(name);
    const std::string path = Temp.PathOf(file);
    EXPECT_TRUE(SaveOutputFile(*form, path));
    return path;
  }

  TRecordingView View;
};

}  // namespace

TEST_F(DeadOutputListTest, EntriesAreNumberedByTheirPlaceAndKeepTheirNumberAfterADelete) {
  TRecordingMenu menu(View);
  TDeadOutputList list(&menu);
  EXPECT_FALSE(menu.Enabled);
  TOutputForm* first = list.OpenOutputFile(SavedFile("a.opt", otGRAPH, "Volts"));
  TOutputForm* second = list.OpenOutputFile(SavedFile("b.opt", otTEXT, "Log"));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(menu.Items, (TTexts{"&1 Volts...", "&2 Log..."}));
  EXPECT_TRUE(menu.Enabled);
  // Each opened window got its display and shows, detached, with the file's name.
  EXPECT_EQ(menu.Attached, 2);
  EXPECT_TRUE(first->IsVisible());
  EXPECT_EQ(first->GetCaption(), "Volts Inactive");
  EXPECT_EQ(first->GetDeadOutputList(), &list);
  EXPECT_EQ(second->GetFileName(), Temp.PathOf("b.opt"));
  EXPECT_EQ(second->GetOutputType(), otTEXT);
  EXPECT_TRUE(Ui.Texts().empty());

  // Deleting the first leaves the second numbered 2, now at the first place.
  list.DeleteClick(0);
  EXPECT_EQ(View.Destroyed, TTexts{"Volts"});
  EXPECT_EQ(menu.Items, TTexts{"&2 Log..."});
  EXPECT_TRUE(menu.Enabled);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetForm(0), second);
  // The entries' handlers find their window by the place.
  EXPECT_TRUE(list.EntryOpened(0).ShowChecked);
  list.ShowClick(0);
  EXPECT_FALSE(second->IsVisible());
  EXPECT_FALSE(list.EntryOpened(0).ShowChecked);
  EXPECT_FALSE(list.EntryOpened(0).BringToFrontEnabled);
  list.BringToFrontClick(0);  // hidden: stays behind
  EXPECT_TRUE(View.Raised.empty());
  list.ShowClick(0);
  EXPECT_TRUE(list.EntryOpened(0).BringToFrontEnabled);
  list.BringToFrontClick(0);
  EXPECT_EQ(View.Raised, TTexts{"Log"});
  // A place without an entry does nothing.
  list.ShowClick(1);
  list.DeleteClick(-1);
  EXPECT_EQ(list.Count(), 1);

  // A third window takes the next place; deleting the last entry disables the menu.
  list.OpenOutputFile(SavedFile("c.opt", otBIGNUMBER, "T"));
  EXPECT_EQ(menu.Items, (TTexts{"&2 Log...", "&2 T..."}));
  list.DeleteClick(1);
  list.DeleteClick(0);
  EXPECT_TRUE(menu.Items.empty());
  EXPECT_FALSE(menu.Enabled);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(DeadOutputListTest, EntriesStandAfterTheParentsOwnItems) {
  TRecordingMenu menu(View, 2);
  {
    TDeadOutputList list(&menu);
    list.OpenOutputFile(SavedFile("a.opt", otTABLE, "Tab"));
    EXPECT_EQ(menu.Items, (TTexts{"other item", "other item", "&3 Tab..."}));
    list.ShowClick(0);  // the parent's own item: no window
    EXPECT_TRUE(list.GetForm(0)->IsVisible());
    list.ShowClick(2);
    EXPECT_FALSE(list.GetForm(0)->IsVisible());
    // A detached window's rename (its Title or Labels item) reaches its entry.
    list.GetForm(0)->Rename("Renamed");
    EXPECT_EQ(menu.Items[2], "Renamed");
    EXPECT_EQ(list.GetForm(0)->GetCaption(), "Renamed Inactive");
    list.DeleteClick(2);
    EXPECT_EQ(menu.Items.size(), 2u);
    EXPECT_TRUE(menu.Enabled);  // the parent still has its own items
    list.OpenOutputFile(SavedFile("b.opt", otGRAPH, "G"));
    SetMainDeadOutputList(&list);
  }
  // The list deleted its window with it and is no longer the main window's.
  EXPECT_EQ(View.Destroyed, (TTexts{"Renamed", "G"}));
  EXPECT_EQ(MainDeadOutputList(), nullptr);
}

TEST_F(DeadOutputListTest, ADamagedFileIsRefusedWithItsPathAndListsNothing) {
  TRecordingMenu menu(View);
  TDeadOutputList list(&menu);
  const std::string good = SavedFile("good.opt", otGRAPH, "G");
  const TBytes bytes = Temp.ReadBytes("good.opt");
  const std::vector<std::string> damaged{
      Temp.WriteBytes("header.opt", Cat({StringBytes("Qorv Outpt"), StringBytes("Qorv 1.5"),
                                         I32(otTEXT)})),
      Temp.WriteBytes("version.opt", Cat({StringBytes("Qorv Output"), StringBytes("Qorv 9.9"),
                                          I32(otTEXT)})),
      Temp.WriteBytes("kind.opt", Cat({StringBytes("Qorv Output"), StringBytes("Qorv 1.5"),
                                       I32(7)})),
      Temp.WriteBytes("short.opt", TBytes(bytes.begin(), bytes.end() - 3)),
      Temp.WriteBytes("empty.opt", {}),
      Temp.PathOf("missing.opt"),
  };
  for (const std::string& path : damaged) {
    Ui.Clear();
    EXPECT_EQ(list.OpenOutputFile(path), nullptr) << path;
    EXPECT_EQ(Ui.Texts(), TTexts{"Error openning " + path});
  }
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(menu.Items.empty());
  EXPECT_FALSE(menu.Enabled);
  EXPECT_EQ(menu.Attached, 0);
  EXPECT_NE(list.OpenOutputFile(good), nullptr);
}

TEST_F(DeadOutputListTest, AWindowTakenOffLineJoinsTheListWithItsData) {
  TRecordingMenu menu(View);
  TDeadOutputList list(&menu);
  TOutput* out = Output("Scan", otGRAPH, 1);
  TPlotScript* plot = Plot(out, Single(B1, "Y", eatFLOAT, "2.5"), true);
  plot->Execute();
  TOutputForm* live = out->GetOutputForm();
  live->SetView(&View);
  live->ShowOutput();
  std::unique_ptr<TOutputForm> gone = live->TakeOffLine(&list);
  list.AddForm(std::move(gone));
  // It kept its display: none is made for it.
  EXPECT_EQ(menu.Attached, 0);
  EXPECT_EQ(menu.Items, TTexts{"&1 Scan..."});
  EXPECT_EQ(list.GetForm(0), live);
  EXPECT_EQ(live->GetCaption(), "Scan Inactive");
  EXPECT_EQ(dynamic_cast<TGraphForm&>(*live).GetSeries(0).Count(), 1);
  EXPECT_TRUE(list.EntryOpened(0).ShowChecked);
  // The output goes on with a window of its own.
  EXPECT_NE(out->GetOutputForm(), live);
}

TEST_F(DeadOutputListTest, BringToFrontShowsTheOutputsWindowsAndRaisesOnlyShownDetachedOnes) {
  TOutput* shown = Output("Shown", otGRAPH, 1);
  TOutput* hidden = Output("Hidden", otTABLE, 1);
  TOutput* never = Output("Never", otTEXT, 1);
  ASSERT_FALSE(never->HasOutputForm());  // made on first need only
  shown->GetOutputForm()->SetView(&View);
  hidden->GetOutputForm()->SetView(&View);

  // "Show" unchecked shows the window; checked hides it.
  EXPECT_EQ(OutputOfNode(shown->AExpAttNode), shown);
  EXPECT_EQ(OutputOfNode(Exp.GetOutputList()->AExpAttNode), nullptr);
  EXPECT_EQ(OutputOfNode(nullptr), nullptr);
  ShowOutputClick(*shown, false);
  EXPECT_TRUE(shown->IsFormVisible());
  ShowOutputClick(*hidden, false);
  ShowOutputClick(*hidden, true);
  EXPECT_FALSE(hidden->IsFormVisible());

  TRecordingMenu menu(View);
  TDeadOutputList list(&menu);
  list.OpenOutputFile(SavedFile("d.opt", otBIGNUMBER, "Detached"));
  list.OpenOutputFile(SavedFile("e.opt", otBIGNUMBER, "Put away"));
  list.ShowClick(1);
  // Every window of the experiment's outputs shows; of the detached ones only those shown
  // come forward.
  BringOutputsToFront(Exp, &list);
  EXPECT_EQ(View.Raised, (TTexts{"Shown", "Hidden", "Detached"}));
  EXPECT_TRUE(hidden->IsFormVisible());
  EXPECT_FALSE(list.GetForm(1)->IsVisible());
  EXPECT_FALSE(never->HasOutputForm());  // no window is made to be shown
  View.Raised.clear();
  BringOutputsToFront(Exp, nullptr);
  EXPECT_EQ(View.Raised, (TTexts{"Shown", "Hidden"}));
  // The experiment's windows outlive the test's display.
  shown->GetOutputForm()->SetView(nullptr);
  hidden->GetOutputForm()->SetView(nullptr);
}

TEST_F(DeadOutputListTest, NumberFormatsKeepTheDecimalsNumbersAreShownWith) {
  TOutputForm& form = *Output("N", otBIGNUMBER)->GetOutputForm();
  form.SetNumberFormat(ntFIXED, 25);
  EXPECT_EQ(form.GetDecimalPlaces(), 18);
  form.SetNumberFormat(ntSCIENTIFIC, -4);
  EXPECT_EQ(form.GetDecimalPlaces(), 0);
  form.SetNumberFormat(ntFIXED, 3);
  EXPECT_EQ(form.GetDecimalPlaces(), 3);
}
