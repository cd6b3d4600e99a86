// "Change Colors": the console's seven colour roles, each pointed at one of the 16 table
// colours by clicking (or focusing) its square; two samples show the backgrounds with
// the selected text role's name. OK keeps the working copy, Cancel drops it. Opened for
// the core's TChangeColorsRequest.
#pragma once

#include <QDialog>

#include <memory>
#include <vector>

#include "communication/console.h"
#include "communication/console_colors.h"

namespace Ui {
class TInteractiveChangeColorForm;
}

class TColorSquare;
class TColorSample;

class TInteractiveChangeColorForm : public QDialog {
  Q_OBJECT

public:
  TInteractiveChangeColorForm(TChangeColorsRequest& request, QWidget* parent = nullptr);
  ~TInteractiveChangeColorForm() override;

  // The working copy of the role indices.
  const TAllowedColors::TRoleIndices& WorkingIndices() const { return Working; }
  // The table index of the square drawn as a circle (-1: none).
  int MarkedSquare() const { return Marked; }
  // Gives the colour to the selected role (a square clicked or focused).
  void ColorChosen(int index);

  void accept() override;

private:
  void RoleSelected(int role);
  void Mark(int index);

  std::unique_ptr<Ui::TInteractiveChangeColorForm> Ui;
  TAllowedColors& Colors;
  TAllowedColors::TRoleIndices Working;
  std::vector<TColorSquare*> Squares;
  TColorSample* Samples[2] = {};
  int Marked = -1;
};
