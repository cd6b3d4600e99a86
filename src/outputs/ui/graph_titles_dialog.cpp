#include "outputs/ui/graph_titles_dialog.h"

#include <QButtonGroup>
#include <QShowEvent>

#include "shell/ui/user_dialogs.h"
#include "ui_graph_titles_dialog.h"

namespace {

QButtonGroup* GroupOf(QWidget* parent, std::initializer_list<QAbstractButton*> buttons) {
  auto* group = new QButtonGroup(parent);
  int id = 0;
  for (QAbstractButton* button : buttons) group->addButton(button, id++);
  return group;
}

}  // namespace

TGraphTitlesForm::TGraphTitlesForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TGraphTitlesForm>()) {
  Ui->setupUi(this);
  AlignmentButtons = GroupOf(this, {Ui->LeftJustified, Ui->RightJustified, Ui->Centered});
  XAngleButtons = GroupOf(this, {Ui->XAngle0, Ui->XAngle90, Ui->XAngle180, Ui->XAngle270,
                                 Ui->XAngle360});
  YAngleButtons = GroupOf(this, {Ui->YAngle0, Ui->YAngle90, Ui->YAngle180, Ui->YAngle270,
                                 Ui->YAngle360});
  AlignmentButtons->button(2)->setChecked(true);
  XAngleButtons->button(0)->setChecked(true);
  YAngleButtons->button(1)->setChecked(true);
  Ui->GraphTitleMemo->setTabChangesFocus(true);
  Ui->GraphTitleMemo->setMaximumHeight(5 * fontMetrics().lineSpacing());
  setProperty("helpContext", 42);
  Ui->Help->setProperty("helpContext", 42);
  Ui->Help->setEnabled(false);  // until the help window exists
  connect(Ui->OK, &QPushButton::clicked, this, &TGraphTitlesForm::OkClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TGraphTitlesForm::reject);
  connect(Ui->TitleFontButton, &QPushButton::clicked, this, [this] { SetTitleFont(nullptr); });
  connect(Ui->XAxisFontButton, &QPushButton::clicked, this, [this] { SetXAxisFont(nullptr); });
  connect(Ui->YAxisFontButton, &QPushButton::clicked, this, [this] { SetYAxisFont(nullptr); });
  resize(sizeHint().expandedTo(QSize(420, 0)));
}

TGraphTitlesForm::~TGraphTitlesForm() = default;

QStringList TGraphTitlesForm::TitleLines() const {
  const QString text = Ui->GraphTitleMemo->toPlainText();
  if (text.isEmpty()) return {};
  return text.split(QLatin1Char('\n'));
}

void TGraphTitlesForm::SetTitleLines(const QStringList& lines) {
  Ui->GraphTitleMemo->setPlainText(lines.join(QLatin1Char('\n')));
}

void TGraphTitlesForm::SetFont(std::optional<QFont>& field, QLabel* label, const QFont* font) {
  QFont chosen = field.value_or(QFont());
  if (font)
    chosen = *font;
  else if (!UserDialogs().ChooseFont(this, chosen))
    return;
  field = chosen;
  label->setFont(chosen);
  label->setText(chosen.family());
}

void TGraphTitlesForm::SetTitleFont(const QFont* font) {
  SetFont(AGraphTitleFont, Ui->TitleFontLabel, font);
}
void TGraphTitlesForm::SetXAxisFont(const QFont* font) {
  SetFont(AXAxisFont, Ui->XAxisFontLabel, font);
}
void TGraphTitlesForm::SetYAxisFont(const QFont* font) {
  SetFont(AYAxisFont, Ui->YAxisFontLabel, font);
}

void TGraphTitlesForm::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TGraphTitlesForm::FormShow() {
  Ui->XAxisEdit->setText(XTitle);
  Ui->YAxisEdit->setText(YTitle);
  // An angle that is no multiple of 90 shows the nearest item below it.
  auto check = [](QButtonGroup* group, int index) {
    if (QAbstractButton* button = group->button(index)) button->setChecked(true);
  };
  check(AlignmentButtons, Alignment);
  check(XAngleButtons, ((XAngle % 360 + 360) % 360) / 90);
  check(YAngleButtons, ((YAngle % 360 + 360) % 360) / 90);
  if (XAngle == 360) check(XAngleButtons, 4);
  if (YAngle == 360) check(YAngleButtons, 4);
  Ui->GraphTitleMemo->setFocus();
}

void TGraphTitlesForm::OkClick() {
  XTitle = Ui->XAxisEdit->text();
  YTitle = Ui->YAxisEdit->text();
  Alignment = std::max(0, AlignmentButtons->checkedId());
  XAngle = 90 * std::max(0, XAngleButtons->checkedId());
  YAngle = 90 * std::max(0, YAngleButtons->checkedId());
  accept();
}
