// The read settings of the Read dialog and of the Send-and-Read dialog's "Read" page: the
// variable read into (chosen, or made with "Add"), how the response is taken (ASCII or
// binary, bytes per point, byte order, delimiter, number of points), the optional
// variable that stores the number of bytes read, and the two text options. The settings
// are kept in a TReadResponse, which the Read command's set-up operation takes.
#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

#include "communication/read_response.h"

namespace Ui {
class TReadPage;
}

class QComboBox;
class TBlock;
class TData;
class TExperiment;
class TReadScript;

class TReadPage : public QWidget {
  Q_OBJECT

public:
  explicit TReadPage(QWidget* parent = nullptr);
  // Deletes the variables made here that no OK used.
  ~TReadPage() override;

  // A refusal of OK: the message and the control that gets the focus.
  struct TRefusal {
    std::string Text;
    QWidget* Control;
  };

  // The lists for the block: its variables that are not read-only (read into), the
  // experiment's single integer variables (number of points) and the block's writable
  // single integer variables (byte count). Nothing selected.
  void Fill(TExperiment& experiment, TBlock* block);
  // A new command: the first variable with the settings for it, D to E off, whitespace on.
  void StartNew();
  // A command changed: its variable and settings.
  void StartEdit(TReadScript& read);
  // During a run: no new variables, no change of kind.
  void SetRunning(bool running);

  // OK's checks of the read settings, in order; on success the response holds them.
  std::optional<TRefusal> Check();
  // The variable read into; none when none is chosen.
  TData* Variable() const;
  const TReadResponse& Response() const { return ReadResponse; }
  bool CleanString() const;
  bool WhitespaceDelimiter() const;
  // The variables made here that the response and the target use stay in the experiment.
  void KeepUsed();
  // Forgets the response's links to variables (after the command took them).
  void ClearLinks() { ReadResponse.ClearDataLinks(); }

  // The caption of the whitespace option.
  void SetWhitespaceText(const QString& text);
  // The variable list, where the user starts.
  QWidget* FirstInput() const;

private:
  void VariableChanged();
  void ReadAsChanged();
  void RecordChanged();
  void AddVariable();
  void NewPointsVariable();
  void NewBytesVariable();
  // The response reset for the variable: an array's size in points, else the defaults.
  void ResetFor(TData* variable);
  // Shows the response; the D-to-E option is checked whenever it shows (a new command
  // and an edited one then set it as they start).
  void Refresh();
  // The number of points from the panel into the response; with defaults a bad entry is
  // 10 points.
  std::optional<TRefusal> ReadPoints(bool defaults);
  // Bytes per point, delimiter and byte order into the response; with defaults a bad
  // entry takes its default.
  std::optional<TRefusal> ReadSettings(bool defaults);
  // A new variable through the variable dialog; none when cancelled.
  TData* MakeVariable(bool array, bool integerOnly);
  // Deletes a variable made here (and its entries) unless it is one the lists still need.
  void Discard(TData*& made);

  std::unique_ptr<Ui::TReadPage> Ui;
  TReadResponse ReadResponse;
  TExperiment* Experiment = nullptr;
  TBlock* Block = nullptr;
  TData* NewReadData = nullptr;
  TData* NewReadPoints = nullptr;
  TData* NewReadBytes = nullptr;
  bool Filling = false;
};

// The variable of an entry (none for an entry without one).
TData* EntryVariable(const QComboBox& combo, int index);
