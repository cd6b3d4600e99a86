#include "shell/ui/about_box.h"

#include <QPixmap>

#include "shell/ui/jpeg_picture.h"
#include "shell/ui/version_text.h"
#include "ui_about_box.h"

namespace {

constexpr int WidthInButtons = 18;
constexpr int HeightInButtons = 14;

void ShowPicture(QLabel& label, const QString& name) {
  const QImage picture = PictureResource(name);
  if (picture.isNull()) return;
  label.setPixmap(QPixmap::fromImage(picture));
  label.setFixedSize(picture.size());
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), Ui(std::make_unique<Ui::TAboutBox>()) {
  Ui->setupUi(this);
  ShowPicture(*Ui->Image1, QStringLiteral("about.jpg"));
  ShowPicture(*Ui->Image2, QStringLiteral("logo.jpg"));
  const int buttonHeight = Ui->OKButton->sizeHint().height();
  resize(WidthInButtons * buttonHeight, HeightInButtons * buttonHeight);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::showEvent(QShowEvent* event) {
  Ui->VersionLabel->setText(VersionText());
  QDialog::showEvent(event);
}
