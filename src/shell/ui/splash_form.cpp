#include "shell/ui/splash_form.h"

#include <QPixmap>

#include "shell/ui/jpeg_picture.h"
#include "shell/ui/screen_placement.h"
#include "shell/ui/version_text.h"
#include "ui_splash_form.h"

namespace {

constexpr int PanelMargin = 5;         // between the window's edge and the panel
constexpr int VersionLabelInset = 10;  // between the version text and the panel's edge

}  // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Ui(std::make_unique<Ui::TSplashForm>()) {
  Ui->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  const QImage picture = PictureResource(QStringLiteral("splash.jpg"));
  if (!picture.isNull()) {
    Ui->SplashImage->setPixmap(QPixmap::fromImage(picture));
    Ui->SplashPanel->resize(picture.size());
  }
}

TSplashForm::~TSplashForm() = default;

void TSplashForm::showEvent(QShowEvent* event) {
  Arrange();
  QWidget::showEvent(event);
}

void TSplashForm::Arrange() {
  QFrame* panel = Ui->SplashPanel;
  QLabel* version = Ui->VersionLabel;
  version->setText(VersionText());
  version->adjustSize();

  const QSize size = panel->size();
  Ui->SplashImage->setGeometry(0, 0, size.width(), size.height());
  panel->move(PanelMargin, PanelMargin);
  setFixedSize(size.width() + 2 * PanelMargin, size.height() + 2 * PanelMargin);
  version->move(size.width() - version->width() - VersionLabelInset,
                size.height() - version->height() - VersionLabelInset);
  CentreOnScreen(*this);
}
