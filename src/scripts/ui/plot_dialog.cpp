#include "scripts/ui/plot_dialog.h"

#include <QVariant>

#include "model/data.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/variable_data.h"
#include "outputs/output.h"
#include "outputs/plot_index.h"
#include "shell/ui/user_dialogs.h"
#include "ui_plot_dialog.h"

namespace {

QVariant Holding(void* object) { return QVariant::fromValue(object); }

template <class T>
T* HeldBy(const QComboBox& box, int item) {
  return item < 0 ? nullptr : static_cast<T*>(box.itemData(item).value<void*>());
}

bool IsChart(std::uint8_t type) { return type == otGRAPH || type == otTABLE; }

}  // namespace

TPlotScriptForm::TPlotScriptForm(TPlotScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 6, parent), Ui(std::make_unique<Ui::TPlotScriptForm>()),
      Plot(request) {
  Ui->setupUi(Panel1());
  setWindowTitle("Plot");
  SizeFromOk(9, 20);
  SetFirstInput(Ui->OutputBox);
  for (TOutput* output : request.Outputs)
    Ui->OutputBox->addItem(QString::fromStdString(output->GetName()), Holding(output));
  for (TDataSingle* integer : request.Integers) {
    TVariableArrayComboSelection::AddIndexVariableItem(*Ui->YArrayIndexCombo, integer);
    TVariableArrayComboSelection::AddIndexVariableItem(*Ui->XArrayIndexCombo, integer);
  }
  Ui->OutputBox->setCurrentIndex(Ui->OutputBox->findData(Holding(request.FirstOutput)));
  OutputChange();

  if (TPlotScript* plot = request.Plot()) {
    TPlotIndex* channel = plot->GetPlotIndex();
    if (Ui->ChannelComboBox->isEnabled()) {
      if (channel->IsVariable())
        Ui->ChannelComboBox->setCurrentIndex(
            Ui->ChannelComboBox->findData(Holding(channel->GetVariable())));
      else
        Ui->ChannelComboBox->setEditText(QString::fromStdString(channel->GetBoxText()));
    }
    if (TVariableData* x = plot->GetVariableX()) {
      Ui->VariableButton->setChecked(true);
      XSourceChange();
      Select(*Ui->XVariableCombo, x->GetData());
      VariableChange(*Ui->XVariableCombo, *Ui->XArrayIndexCombo);
      if (x->IsArray())
        Pcomboselection.ShowIndex(*Ui->XArrayIndexCombo,
                                  static_cast<TVariableDataArray*>(x)->GetArrayIndex());
    } else {
      (plot->GetUseCounter() || Ui->NoneButton->isHidden() ? Ui->CounterButton : Ui->NoneButton)
          ->setChecked(true);
      XSourceChange();
    }
    TVariableData* y = plot->GetVariableY();
    Select(*Ui->YVariableCombo, y ? y->GetData() : nullptr);
    VariableChange(*Ui->YVariableCombo, *Ui->YArrayIndexCombo);
    if (y && y->IsArray())
      Pcomboselection.ShowIndex(*Ui->YArrayIndexCombo,
                                static_cast<TVariableDataArray*>(y)->GetArrayIndex());
  } else {
    if (request.FirstY) {
      Select(*Ui->YVariableCombo, request.FirstY);
      VariableChange(*Ui->YVariableCombo, *Ui->YArrayIndexCombo);
    }
    (Ui->NoneButton->isHidden() ? Ui->CounterButton : Ui->NoneButton)->setChecked(true);
    XSourceChange();
    if (Ui->ChannelComboBox->isEnabled()) {
      Ui->ChannelComboBox->setCurrentIndex(-1);
      Ui->ChannelComboBox->setEditText("");
    }
  }

  connect(Ui->OutputBox, &QComboBox::currentIndexChanged, this, [this] { OutputChange(); });
  connect(Ui->YVariableCombo, &QComboBox::currentIndexChanged, this,
          [this] { VariableChange(*Ui->YVariableCombo, *Ui->YArrayIndexCombo); });
  connect(Ui->XVariableCombo, &QComboBox::currentIndexChanged, this,
          [this] { VariableChange(*Ui->XVariableCombo, *Ui->XArrayIndexCombo); });
  for (QRadioButton* button : {Ui->NoneButton, Ui->CounterButton, Ui->VariableButton})
    connect(button, &QRadioButton::toggled, this, [this](bool on) {
      if (on) XSourceChange();
    });
}

TPlotScriptForm::~TPlotScriptForm() = default;

TOutput* TPlotScriptForm::SelectedOutput() const {
  return HeldBy<TOutput>(*Ui->OutputBox, Ui->OutputBox->currentIndex());
}

TData* TPlotScriptForm::SelectedVariable(const QComboBox& box) {
  return HeldBy<TData>(box, box.currentIndex());
}

void TPlotScriptForm::Select(QComboBox& box, TData* variable) {
  box.setCurrentIndex(variable ? box.findData(Holding(variable)) : -1);
}

void TPlotScriptForm::FillVariables(QComboBox& box, const std::vector<TData*>& variables,
                                    bool fallBack) {
  TData* kept = SelectedVariable(box);
  const QSignalBlocker quiet(box);
  box.clear();
  for (TData* variable : variables)
    box.addItem(QString::fromStdString(variable->GetDataName()), Holding(variable));
  int item = kept ? box.findData(Holding(kept)) : -1;
  if (item < 0 && fallBack && box.count() > 0) item = 0;
  box.setCurrentIndex(item);
}

void TPlotScriptForm::OutputChange() {
  TOutput* output = SelectedOutput();
  if (!output) return;
  const std::uint8_t type = output->Poutputtype;
  if (type != LastOutputType) {
    TData* y = SelectedVariable(*Ui->YVariableCombo);
    TData* x = SelectedVariable(*Ui->XVariableCombo);
    if (IsChart(type)) {
      if (Ui->NoneButton->isChecked()) Ui->CounterButton->setChecked(true);
      Ui->NoneButton->hide();
      FillVariables(*Ui->YVariableCombo, Plot.GraphAndTable, true);
      FillVariables(*Ui->XVariableCombo, Plot.GraphAndTable, false);
    } else {
      Ui->NoneButton->show();
      FillVariables(*Ui->YVariableCombo, Plot.Variables, false);
      FillVariables(*Ui->XVariableCombo, Plot.Variables, false);
    }
    if (SelectedVariable(*Ui->YVariableCombo) != y)
      VariableChange(*Ui->YVariableCombo, *Ui->YArrayIndexCombo);
    if (SelectedVariable(*Ui->XVariableCombo) != x)
      VariableChange(*Ui->XVariableCombo, *Ui->XArrayIndexCombo);
    Ui->XPanel->setVisible(Ui->VariableButton->isChecked() &&
                           SelectedVariable(*Ui->XVariableCombo) != nullptr);
    LastOutputType = type;
  }
  QComboBox& channels = *Ui->ChannelComboBox;
  channels.clear();
  if (!IsChart(type) || output->NumberOfChannels == 1) {
    channels.addItem("0");
    channels.setCurrentIndex(0);
    channels.setEnabled(false);
    Ui->ChannelLabel->setEnabled(false);
    Ui->MaxChannelLabel->hide();
  } else {
    for (TDataSingle* integer : Plot.Integers)
      channels.addItem(QString::fromStdString(integer->GetDataName()), Holding(integer));
    channels.setCurrentIndex(-1);
    channels.setEnabled(true);
    Ui->ChannelLabel->setEnabled(true);
    Ui->MaxChannelLabel->setText(
        QString::fromStdString("(" + NumberText::IntToText(output->NumberOfChannels) + ")"));
    Ui->MaxChannelLabel->show();
  }
  RefreshEntireArray();
}

void TPlotScriptForm::VariableChange(QComboBox& variables, QComboBox& index) {
  TData* variable = SelectedVariable(variables);
  index.setVisible(variable && variable->IsArray());
  index.setCurrentIndex(-1);
  index.setEditText("");
  RefreshEntireArray();
}

void TPlotScriptForm::XSourceChange() {
  const bool variable = Ui->VariableButton->isChecked();
  if (variable && !SelectedVariable(*Ui->XVariableCombo) && Ui->XVariableCombo->count() > 0) {
    Ui->XVariableCombo->setCurrentIndex(0);
    VariableChange(*Ui->XVariableCombo, *Ui->XArrayIndexCombo);
  }
  Ui->XPanel->setVisible(variable);
  RefreshEntireArray();
}

void TPlotScriptForm::RefreshEntireArray() {
  TOutput* output = SelectedOutput();
  const bool offered =
      output && output->Poutputtype != otBIGNUMBER && !Ui->VariableButton->isChecked();
  const QSignalBlocker quiet(Ui->YArrayIndexCombo);
  const QString text = Ui->YArrayIndexCombo->currentText();
  if (offered) {
    Pcomboselection.AddEntireArrayItem(*Ui->YArrayIndexCombo);
  } else {
    Pcomboselection.RemoveEntireArrayItem(*Ui->YArrayIndexCombo);
    if (text == TEntireArray::Text()) Ui->YArrayIndexCombo->setCurrentIndex(-1);
  }
  if (Ui->YArrayIndexCombo->currentIndex() < 0) Ui->YArrayIndexCombo->setEditText(
      text == TEntireArray::Text() && !offered ? QString() : text);
}

int TPlotScriptForm::ChannelItem() const {
  const QComboBox& box = *Ui->ChannelComboBox;
  const int selected = box.currentIndex();
  if (selected >= 0 && box.itemText(selected) == box.currentText()) return selected;
  const QString text = QString::fromStdString(TrimText(box.currentText().toStdString()));
  return text.isEmpty() ? -1 : box.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

bool TPlotScriptForm::IndexValid(QComboBox& variables, QComboBox& index) {
  TData* variable = SelectedVariable(variables);
  if (!variable->IsArray()) return true;
  std::string message;
  if (Pcomboselection.ValidateIndex(index, variable->GetSize(), message)) return true;
  Refuse(message, &index);
  return false;
}

void TPlotScriptForm::OkClick() {
  TOutput* output = SelectedOutput();
  if (!output) return Refuse("You must select an output", Ui->OutputBox);

  const std::string channelText = TrimText(Ui->ChannelComboBox->currentText().toStdString());
  std::int32_t channel = -1;
  if (!NumberText::TextToInt(channelText, channel)) channel = -1;
  TDataSingle* channelVariable = nullptr;
  if (channel < 0) {
    if (Ui->ChannelComboBox->isEnabled())
      channelVariable = HeldBy<TDataSingle>(*Ui->ChannelComboBox, ChannelItem());
    if (!channelVariable) return Refuse("Invalid plot channel", Ui->ChannelComboBox);
  } else if (channel >= output->NumberOfChannels) {
    return Refuse("The channel " + NumberText::IntToText(channel) + " is out of range.",
                  Ui->ChannelComboBox);
  }

  const bool useX = Ui->VariableButton->isChecked();
  TData* x = SelectedVariable(*Ui->XVariableCombo);
  if (useX) {
    if (!x) return Refuse("You must select an x variable if Variable is checked", Ui->XVariableCombo);
    if (!IndexValid(*Ui->XVariableCombo, *Ui->XArrayIndexCombo)) return;
  }
  TData* y = SelectedVariable(*Ui->YVariableCombo);
  if (!y) return Refuse("You must select an y variable.", Ui->YVariableCombo);
  if (!IndexValid(*Ui->YVariableCombo, *Ui->YArrayIndexCombo)) return;

  if (useX && x == y &&
      (!x->IsArray() || TrimText(Ui->XArrayIndexCombo->currentText().toStdString()) ==
                            TrimText(Ui->YArrayIndexCombo->currentText().toStdString()))) {
    const TMessageBox question = QuestionBoxOf(
        "The x variable and y variable are the same.\r Do you really want to plot this?",
        "Qorv Warning", TMessageKind::Warning, mbYes | mbNo, mbNo);
    if (UserDialogs().Message(this, question) == mbNo) return;
  }

  const bool counter = Ui->CounterButton->isChecked();
  Apply(TScript::PLOT, [&](TScript& command) {
    auto& plot = static_cast<TPlotScript&>(command);
    if (useX) {
      plot.SetUpXY(output, y, x, channel, channelVariable);
      if (x->IsArray())
        Pcomboselection.ReadIndex(
            *Ui->XArrayIndexCombo,
            static_cast<TVariableDataArray*>(plot.GetVariableX())->GetArrayIndex());
    } else {
      plot.SetUpYOnly(output, y, counter, channel, channelVariable);
    }
    if (y->IsArray())
      Pcomboselection.ReadIndex(
          *Ui->YArrayIndexCombo,
          static_cast<TVariableDataArray*>(plot.GetVariableY())->GetArrayIndex());
    plot.UpdateNodeText();
  });
}
