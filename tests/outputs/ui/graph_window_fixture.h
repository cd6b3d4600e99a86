// A graph output of one channel with its window, for the tests of the graph window's
// dialogs and exports.
#pragma once

#include <QTest>
#include <gtest/gtest.h>

#include <string>

#include "outputs/graph_form.h"
#include "outputs/output_form.h"
#include "outputs/ui/graph_window.h"
#include "outputs/ui/output_window_kinds.h"
#include "scripts/outputs/plot_fixture.h"
#include "support/ui/scripted_user_dialogs.h"

class TGraphWindowFixture : public TPlotFixture {
protected:
  explicit TGraphWindowFixture(const std::string& name) {
    InstallOutputWindows();
    Out = Output(name, otGRAPH, 1);
    Form = &Graph(Out);
    Window = dynamic_cast<TGraphWindow*>(Form->GetView());
  }
  void Show() {
    Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window));
    Window->RefreshNow();
  }
  // A data series from transfer data: count points from (x0, y0) on, 1 apart.
  void Import(const std::string& x, const std::string& y, int count, double x0, double y0) {
    TTransferData data;
    TTransferSeries* series = data.AddSeries("P", count);
    series->XName = x;
    series->YName = y;
    for (int i = 0; i < count; ++i)
      series->SetPoint(i, static_cast<float>(x0 + i), static_cast<float>(y0 + i));
    Form->ImportData(&data);
  }

  TScriptedUserDialogs Dialogs;
  TOutput* Out = nullptr;
  TGraphForm* Form = nullptr;
  TGraphWindow* Window = nullptr;
};
