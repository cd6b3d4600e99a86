#include "scripts/ui/script_form.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "scripts/experiment_thread.h"
#include "scripts/script.h"
#include "shell/ui/user_dialogs.h"

TScriptForm::TScriptForm(TScriptRequest& request, int helpContext, QWidget* parent)
    : QDialog(parent), Request(request) {
  Panel = new QWidget(this);
  Panel->setObjectName("Panel1");
  Ok = new QPushButton("OK", this);
  Ok->setObjectName("Ok");
  Ok->setDefault(true);
  Cancel = new QPushButton("Cancel", this);
  Cancel->setObjectName("Cancel");
  Help = new QPushButton("Help", this);
  Help->setObjectName("Help");
  Help->setProperty("helpContext", helpContext);
  Help->setEnabled(false);  // until the help window exists

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Ok);
  buttons->addWidget(Cancel);
  buttons->addWidget(Help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Panel, 1);
  layout->addLayout(buttons);

  connect(Ok, &QPushButton::clicked, this, [this] { OkClick(); });
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TScriptForm::Apply(int type, const std::function<void(TScript&)>& setUp) {
  TScript* made = nullptr;
  try {
    if (!Request.Script) {
      QORV_ASSERT(Request.Experiment!=0);
      made = AddScriptToSelectedBlock(*Request.Experiment, type);
    }
    setUp(Request.Script ? *Request.Script : *made);
  } catch (const std::exception& error) {
    if (made) made->Pblock->DeleteScript(made);
    Refuse(error.what(), nullptr);
    return false;
  }
  if (made) Request.Script = made;
  UiPort().ExperimentChanged(1, 0);
  accept();
  return true;
}

void TScriptForm::Refuse(const std::string& text, QWidget* focus) {
  UserDialogs().Message(this, MessageBoxOf(text, "", TMessageKind::Information));
  if (!focus) return;
  focus->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) edit->selectAll();
}

void TScriptForm::SizeFromOk(int heights, int widths) {
  const int unit = Ok->sizeHint().height();
  const int width = widths * unit;
  int height = heights * unit;
  // Wrapped texts need the height their lines take at this width.
  if (QLayout* box = layout(); box && box->hasHeightForWidth())
    height = std::max(height, box->totalHeightForWidth(width));
  resize(width, height);
}

void TScriptForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A command can be looked at during a run, not changed.
  Ok->setEnabled(!IsRunActive());
  if (FirstInput) FirstInput->setFocus();
}
