// Which dialog serves which request of the core. The core asks for a dialog with a
// TDialogRequest subclass (UiPort().OpenDialog); the Qt port opens the dialog registered
// for the request's dynamic type. Each subsystem's ui/ folder registers its own dialogs
// in one registration call (see dialog_setup.h), so no file knows every dialog.
#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <typeindex>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "model/ui_port.h"

class QWidget;

class TDialogRegistry {
public:
  // Opens the dialog for a request modally above parent; answers 1 for OK, 0 for Cancel.
  using TOpener = std::function<int(TDialogRequest& request, QWidget* parent)>;

  // The opener of one request type. A type has one dialog: registering a type again
  // throws std::logic_error.
  void Register(std::type_index type, TOpener open);

  // The opener of TRequest, given the request as its own type.
  template <class TRequest>
  void Register(std::function<int(TRequest&, QWidget*)> open) {
    static_assert(std::is_base_of_v<TDialogRequest, TRequest>);
    Register(typeid(TRequest), [open = std::move(open)](TDialogRequest& request, QWidget* parent) {
      return open(static_cast<TRequest&>(request), parent);
    });
  }

  // The usual case: TDialog is made from (TRequest&, QWidget* parent), reads the request
  // and writes its result back when accepted; it is shown modally and answers 1 when
  // accepted, else 0.
  template <class TRequest, class TDialog>
  void RegisterDialog() {
    Register<TRequest>([](TRequest& request, QWidget* parent) {
      TDialog dialog(request, parent);
      return dialog.exec() == QDialog::Accepted ? 1 : 0;
    });
  }

  // Whether a dialog serves requests of exactly this type.
  bool Serves(std::type_index type) const { return Openers.count(type) != 0; }
  // The request types served, in no particular order.
  std::vector<std::type_index> Types() const;

  // Opens the dialog registered for the request's dynamic type (exactly that type, not a
  // base of it); 0 when no dialog serves it.
  int Open(TDialogRequest& request, QWidget* parent) const;

private:
  std::unordered_map<std::type_index, TOpener> Openers;
};

// The application's registry, filled at start-up by RegisterDialogs (dialog_setup.h).
TDialogRegistry& DialogRegistry();

// The name of a type as written in the source ("TDataFormRequest").
std::string TypeNameOf(std::type_index type);
