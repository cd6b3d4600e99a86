// The interactive console: the user talks to one device of the experiment by hand (a
// command sent, bytes read back, or GPIB bus commands) and watches a two-column log of
// every exchange in colour. Exchanges run on a worker thread (except when opened from
// the debug window during a run) while the console shows that it is busy and offers
// Cancel; closing it meanwhile cancels and waits for the worker. Opened for the core's
// TInteractRequest.
#pragma once

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "communication/console.h"
#include "communication/console_colors.h"
#include "communication/console_exchange.h"

namespace Ui {
class TInteractiveForm;
}

class TInteractiveForm : public QDialog {
  Q_OBJECT

public:
  // Index of the log columns.
  enum { iuACTION = 0, iuRESULT = 1 };

  TInteractiveForm(TInteractRequest& request, QWidget* parent = nullptr);
  ~TInteractiveForm() override;

  TDevice* CurrentDevice() const { return Pcurrentdevice; }
  // An exchange is under way.
  bool IsBusy() const { return Busy; }
  const TColorString& Lines(int column) const { return Pcolorstrings[column]; }

  // The Send button: the step of the page shown, checked first.
  void SendButtonClick();
  // Done, Escape and closing the window: an exchange under way is cancelled and waited
  // for before the console hides.
  void reject() override;

signals:
  // An exchange has been logged.
  void ExchangeFinished();

private:
  void DeviceChanged(int index);
  void EditButtonClick();
  void ColorsClick();
  void Start(std::function<std::vector<TConsoleRow>()> step);
  void Finish(const std::vector<TConsoleRow>& rows);
  void SetBusy(bool busy);
  void WaitForWorker();
  // Fills the grid from the line lists in the current colours.
  void Repaint();
  void Refuse(const std::string& message, QWidget* focus);

  std::unique_ptr<Ui::TInteractiveForm> Ui;
  TInteractRequest& Request;
  TDevice* Pcurrentdevice = nullptr;
  TColorString Pcolorstrings[2]{TColorString(ConsoleColors()), TColorString(ConsoleColors())};
  bool Background = true;  // the first background role while true
  bool Busy = false;
  std::thread Worker;
  std::atomic<bool> Cancel{false};
};
