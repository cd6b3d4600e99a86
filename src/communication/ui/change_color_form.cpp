#include "communication/ui/change_color_form.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

#include "model/assertion.h"
#include "model/ui/bgr_color.h"
#include "ui_change_color_form.h"

namespace {

constexpr int HelpContext = 58;

}  // namespace

// One of the 16 colour squares, in a focusable panel; the marked one is a circle.
class TColorSquare final : public QWidget {
public:
  TColorSquare(int tag, QColor color, TInteractiveChangeColorForm& form, QWidget* parent)
      : QWidget(parent), Tag(tag), Color(color), Form(form) {
    setObjectName(QString("ColorPanel%1").arg(tag));
    setFixedSize(28, 28);
    setFocusPolicy(Qt::StrongFocus);
  }
  bool Circle = false;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(hasFocus() ? palette().highlight().color() : palette().mid().color());
    painter.setBrush(Color);
    const QRect square = rect().adjusted(3, 3, -4, -4);
    if (Circle)
      painter.drawEllipse(square);
    else
      painter.drawRect(square);
  }
  void mousePressEvent(QMouseEvent*) override { Form.ColorChosen(Tag); }
  void focusInEvent(QFocusEvent* event) override {
    QWidget::focusInEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason) Form.ColorChosen(Tag);
    update();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QWidget::focusOutEvent(event);
    update();
  }

private:
  const int Tag;
  const QColor Color;
  TInteractiveChangeColorForm& Form;
};

// A background sample: its background's colour, and the selected text role's name in
// that role's colour.
class TColorSample final : public QWidget {
public:
  TColorSample(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setMinimumSize(120, 40);
  }
  QColor Background;
  QColor Text;
  QString Caption;  // empty: a background role is selected

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (Caption.isEmpty()) return;
    painter.setPen(Text);
    painter.drawText(rect(), Qt::AlignCenter, Caption);
  }
};

TInteractiveChangeColorForm::TInteractiveChangeColorForm(TChangeColorsRequest& request,
                                                         QWidget* parent)
    : QDialog(parent),
      Ui(std::make_unique<Ui::TInteractiveChangeColorForm>()),
      Colors(*request.Colors) {
  QORV_ASSERT(request.Colors != nullptr);
  Ui->setupUi(this);
  setProperty("helpContext", HelpContext);
  Ui->Help->setProperty("helpContext", HelpContext);
  Ui->Help->setEnabled(false);  // the help wiring enables it when the dialog shows
  connect(Ui->OkButton, &QPushButton::clicked, this, &TInteractiveChangeColorForm::accept);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &TInteractiveChangeColorForm::reject);

  for (int index = 0; index < TAllowedColors::COLORCOUNT; ++index) {
    auto* square = new TColorSquare(index, BgrColor(Colors.GetColor(index)), *this, Ui->ColorsBox);
    Ui->ColorsLayout->addWidget(square, index / 8, index % 8);
    Squares.push_back(square);
  }
  Samples[0] = new TColorSample("Sample1", Ui->SamplesBox);
  Samples[1] = new TColorSample("Sample2", Ui->SamplesBox);
  for (TColorSample* sample : Samples) Ui->SamplesLayout->addWidget(sample);

  Working = Colors.GetRoleIndices();
  for (int role = 0; role < acROLECOUNT; ++role)
    Ui->RoleList->addItem(TAllowedColors::RoleName(role));
  connect(Ui->RoleList, &QListWidget::currentRowChanged, this,
          &TInteractiveChangeColorForm::RoleSelected);
  Ui->RoleList->setCurrentRow(0);
}

TInteractiveChangeColorForm::~TInteractiveChangeColorForm() = default;

void TInteractiveChangeColorForm::Mark(int index) {
  if (Marked >= 0 && Marked < TAllowedColors::COLORCOUNT) {
    Squares[static_cast<std::size_t>(Marked)]->Circle = false;
    Squares[static_cast<std::size_t>(Marked)]->update();
  }
  Marked = index >= 0 && index < TAllowedColors::COLORCOUNT ? index : -1;
  if (Marked >= 0) {
    Squares[static_cast<std::size_t>(Marked)]->Circle = true;
    Squares[static_cast<std::size_t>(Marked)]->update();
  }
  const int role = Ui->RoleList->currentRow();
  for (int background : {acBACK1, acBACK2}) {
    TColorSample* sample = Samples[background];
    sample->Background = BgrColor(Colors.GetColor(Working[static_cast<std::size_t>(background)]));
    const bool textRole = role >= acACTION && role < acROLECOUNT;
    sample->Caption = textRole ? QString(TAllowedColors::RoleName(role)) : QString();
    if (textRole) sample->Text = BgrColor(Colors.GetColor(Working[static_cast<std::size_t>(role)]));
    sample->update();
  }
}

void TInteractiveChangeColorForm::RoleSelected(int role) {
  if (role < 0 || role >= acROLECOUNT) return;
  Mark(Working[static_cast<std::size_t>(role)]);
}

void TInteractiveChangeColorForm::ColorChosen(int index) {
  const int role = Ui->RoleList->currentRow();
  if (role < 0 || role >= acROLECOUNT) return;
  Working[static_cast<std::size_t>(role)] = index;
  Mark(index);
}

void TInteractiveChangeColorForm::accept() {
  Colors.SetRoleIndices(Working);
  QDialog::accept();
}
