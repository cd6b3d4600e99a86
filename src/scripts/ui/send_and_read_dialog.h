// "Send and Read": a Send command and the Read command of its answer for one device,
// made together in front of the blank line. The "Send" page holds the command text, the
// device's terminators and an optional variable (with its element and float format);
// the "Read" page is the Read dialog's TReadPage. Nothing is made before every check
// passes, so a refused OK never leaves half a pair.
#pragma once

#include <cstdint>
#include <memory>

#include "scripts/device/send_and_read_request.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TSendAndReadForm;
}

class TData;
class TVariableArrayComboSelection;

class TSendAndReadForm : public TScriptForm {
  Q_OBJECT

public:
  // Starts with the request's device (else the first), the "Send" page, no variable to
  // send, and the block's first variable to read into.
  TSendAndReadForm(TSendAndReadRequest& request, QWidget* parent = nullptr);
  // Deletes a send variable made with Add that no OK used.
  ~TSendAndReadForm() override;

protected:
  void OkClick() override;
  void showEvent(QShowEvent* event) override;

private:
  void DeviceChanged();
  void SendVariableChanged();
  void ChangeFormat();
  void AddSendVariable();
  void ShowFormat();
  // The variable of the selected SendVar entry; none for "No Variable".
  TData* SendVariable() const;
  void RefuseOn(QWidget* page, const std::string& text, QWidget* control);

  std::unique_ptr<Ui::TSendAndReadForm> Ui;
  std::unique_ptr<TVariableArrayComboSelection> Pcomboselection;
  TData* Pnewsenddata = nullptr;
  std::uint8_t FloatNotation = 0;
  std::int32_t FloatPlaces = 0;
};
