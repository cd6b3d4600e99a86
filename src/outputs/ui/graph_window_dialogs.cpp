// The graph window's dialogs: the titles, the axes' attributes and the series' plot
// attributes, filled from the chart and the form and applied to both.
#include "model/number_text.h"
#include "model/ui_port.h"
#include "outputs/graph_form.h"
#include "outputs/ui/chart.h"
#include "outputs/ui/graph_attributes_dialog.h"
#include "outputs/ui/graph_titles_dialog.h"
#include "outputs/ui/graph_window.h"
#include "outputs/ui/plot_attributes_dialog.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/user_dialogs.h"

namespace {

QString NumberOf(double value) {
  return QString::fromStdString(NumberText::FormatNumber(value, ntSTANDARD, 0));
}

}  // namespace

TGraphTitlesForm& TGraphWindow::GraphTitlesForm() {
  if (!TitlesDialog) TitlesDialog = new TGraphTitlesForm(this);
  return *TitlesDialog;
}

TGraphAttributesForm& TGraphWindow::GraphAttributesForm() {
  if (!AttributesDialog) AttributesDialog = new TGraphAttributesForm(this);
  return *AttributesDialog;
}

TPlotAttributesForm& TGraphWindow::PlotAttributesForm() {
  if (!PlotDialog) {
    PlotDialog = new TPlotAttributesForm(this);
    // The series' settings are saved with the experiment: a change marks it modified.
    connect(PlotDialog, &TPlotAttributesForm::Applied, this, [this] {
      Redraw(true);
      UiPort().ExperimentChanged(1, 0);
    });
  }
  return *PlotDialog;
}

void TGraphWindow::GraphTitlesClick() {
  if (!Form()) return;
  TGraphTitlesForm& dialog = GraphTitlesForm();
  dialog.SetTitleLines(Pchart->Title());
  dialog.XTitle = Pchart->BottomAxis().TitleCaption();
  dialog.YTitle = Pchart->LeftAxis().TitleCaption();
  const QFont title = Pchart->TitleFont(), x = Pchart->BottomAxis().TitleFont(),
              y = Pchart->LeftAxis().TitleFont();
  dialog.SetTitleFont(&title);
  dialog.SetXAxisFont(&x);
  dialog.SetYAxisFont(&y);
  const Qt::Alignment align = Pchart->TitleAlignment();
  dialog.Alignment = align & Qt::AlignLeft ? 0 : align & Qt::AlignRight ? 1 : 2;
  dialog.XAngle = Pchart->BottomAxis().TitleAngle();
  dialog.YAngle = Pchart->LeftAxis().TitleAngle();
  if (dialog.exec() != QDialog::Accepted) return;

  TChartSettings& settings = Kind.Chart();
  settings.Title.clear();
  for (const QString& line : dialog.TitleLines()) settings.Title.push_back(line.toStdString());
  settings.BottomAxisTitle = dialog.XTitle.toStdString();
  settings.LeftAxisTitle = dialog.YTitle.toStdString();
  Pchart->SetTitleFont(dialog.TitleFont());
  Pchart->BottomAxis().SetTitleFont(dialog.XAxisFont());
  Pchart->LeftAxis().SetTitleFont(dialog.YAxisFont());
  const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
  Pchart->SetTitleAlignment(alignments[std::clamp(dialog.Alignment, 0, 2)]);
  Pchart->BottomAxis().SetTitleAngle(dialog.XAngle);
  Pchart->LeftAxis().SetTitleAngle(dialog.YAngle);
  // The window is named by the title's first line; without a title it keeps its name.
  if (!settings.Title.empty() && !settings.Title.front().empty())
    Kind.Rename(settings.Title.front());
  Redraw(true);
  UiPort().ExperimentChanged(1, 0);
}

void TGraphWindow::GraphAttributesClick() {
  if (!Form()) return;
  TXAxisScroll* scroll = Kind.GetXAxisScroll();
  if (scroll && scroll->Active && IsRunActive()) {
    const TMessageButton answer = UserDialogs().Message(
        this, QuestionBoxOf("Scrolling must be turned off to view this while running an "
                            "experiment. Do you wish to continue?",
                            "Graph Message", TMessageKind::Confirmation, mbYes | mbNo, mbYes));
    if (answer != mbYes) return;
    scroll->Active = false;
    UpdateButtons();
  }
  TGraphAttributesForm& dialog = GraphAttributesForm();
  TChartAxis* axes[2] = {&Pchart->BottomAxis(), &Pchart->LeftAxis()};
  for (int a = 0; a < 2; ++a) {
    const TChartAxis& c = *axes[a];
    TAxisAttributes shown;
    shown.AutoMinimum = c.AutomaticMinimum();
    shown.AutoMaximum = c.AutomaticMaximum();
    shown.AutoIncrement = c.Increment() == 0;
    shown.LogScale = c.Logarithmic();
    if (!shown.AutoMinimum) shown.Low = NumberOf(c.Minimum());
    if (!shown.AutoMaximum) shown.High = NumberOf(c.Maximum());
    if (!shown.AutoIncrement) shown.Increment = NumberOf(c.Increment());
    dialog.SetAxis(a, shown);
  }
  if (dialog.exec() != QDialog::Accepted) {
    Pchart->Repaint();
    return;
  }
  TGraphAxis* formAxes[2] = {&Kind.BottomAxis(), &Kind.LeftAxis()};
  const double lows[2] = {dialog.XLow, dialog.YLow}, highs[2] = {dialog.XHigh, dialog.YHigh};
  const double increments[2] = {dialog.XIncrement, dialog.YIncrement};
  for (int a = 0; a < 2; ++a) {
    TChartAxis& c = *axes[a];
    TGraphAxis& f = *formAxes[a];
    const TAxisAttributes chosen = dialog.Axis(a);
    c.UndoZoom();
    if (chosen.AutoMinimum && chosen.AutoMaximum) {
      c.SetAutomatic(true);
      f.Automatic = true;
    } else {
      const double minimum = chosen.AutoMinimum ? c.Minimum() : lows[a];
      const double maximum = chosen.AutoMaximum ? c.Maximum() : highs[a];
      c.SetAutomaticMinimum(chosen.AutoMinimum);
      c.SetAutomaticMaximum(chosen.AutoMaximum);
      c.SetMinMax(minimum, maximum);
      f.Automatic = false;
      f.Minimum = std::min(minimum, maximum);
      f.Maximum = std::max(minimum, maximum);
    }
    c.SetIncrement(chosen.AutoIncrement ? 0 : increments[a]);
  }
  // The left axis, then the bottom one: a logarithmic axis needs values above zero.
  for (int a : {1, 0}) {
    TChartAxis& c = *axes[a];
    const TAxisAttributes chosen = dialog.Axis(a);
    if (chosen.LogScale && chosen.AutoMinimum) {
      bool positive = true;
      for (const TSeriesExtent& e : Extents)
        if (e.Any && !((a == 0 ? e.MinX : e.MinY) > 0)) positive = false;
      if (!positive) {
        UiPort().ShowMessage(a == 0 ? "X Axis values cannot be less than zero to use the log scale"
                                    : "Y Axis values cannot be less than zero to use the log scale",
                             "", TMessageKind::Warning);
        continue;
      }
    }
    c.SetLogarithmic(chosen.LogScale);
  }
  Redraw(true);
  UiPort().ExperimentChanged(1, 0);
}

void TGraphWindow::PlotAttributesClick() { EditPlotAttributes(-1); }

void TGraphWindow::EditSeriesPropertiesClick() { EditPlotAttributes(PopupSeries); }

void TGraphWindow::EditPlotAttributes(int series) {
  if (!Form()) return;
  if (Kind.SeriesCount() == 1 && Kind.GetSeries(0).Count() == 0 &&
      Kind.NumberOfActiveSeries() == 0) {
    UiPort().ShowMessage("No plots to edit", "", TMessageKind::Information);
    return;
  }
  TPlotAttributesForm& dialog = PlotAttributesForm();
  for (std::int32_t s = 0; s < Kind.SeriesCount(); ++s)
    dialog.AddSeries(QString::fromStdString(Kind.GetSeries(s).Name), s);
  if (series >= Kind.SeriesCount()) series = -1;
  dialog.ShowFor(Kind, series, Kind.NumberOfActiveSeries());
  Redraw(true);
}
