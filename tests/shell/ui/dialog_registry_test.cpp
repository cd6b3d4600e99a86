#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

#include "model/data_dialogs.h"
#include "outputs/exp_file.h"
#include "outputs/output.h"
#include "scripts/command_devices.h"
#include "scripts/flow/condition_request.h"
#include "scripts/script_request.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/dialog_setup.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_ui_port.h"
#include "support/ui/worker.h"

namespace {

// The core's request types that no dialog serves yet. Whoever registers the dialog of
// one takes it off this list; a new request type goes here until its dialog comes.
const std::vector<std::type_index> requestsWithoutDialog = {};
// The bases of request types, never opened themselves.
const std::vector<std::type_index> requestBases = {
    typeid(TScriptRequest), typeid(TDeviceScriptRequest), typeid(TConditionScriptRequest)};

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Every class or struct declared in the text with its base-class text:
// "struct TDataFormRequest : TDialogRequest {" gives {"TDataFormRequest", " TDialogRequest "}.
void CollectClasses(const std::string& text,
                    std::vector<std::pair<std::string, std::string>>& classes) {
  for (const std::string keyword : {"struct", "class"}) {
    for (std::size_t at = text.find(keyword); at != std::string::npos;
         at = text.find(keyword, at + 1)) {
      if ((at > 0 && IsNameChar(text[at - 1])) ||
          !std::isspace(static_cast<unsigned char>(text[at + keyword.size()])))
        continue;
      std::size_t pos = at + keyword.size();
      const auto skipSpace = [&] {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
      };
      const auto word = [&] {
        const std::size_t start = pos;
        while (pos < text.size() && IsNameChar(text[pos])) ++pos;
        return text.substr(start, pos - start);
      };
      skipSpace();
      const std::string name = word();
      if (name.empty()) continue;
      skipSpace();
      if (text.compare(pos, 5, "final") == 0) {
        pos += 5;
        skipSpace();
      }
      if (pos >= text.size() || text[pos] != ':' || text.compare(pos, 2, "::") == 0) continue;
      const std::size_t end = text.find_first_of("{;", pos);
      if (end == std::string::npos) continue;
      classes.emplace_back(name, text.substr(pos + 1, end - pos - 1));
    }
  }
}

// The names of every class in the sources derived, directly or not, from TDialogRequest.
std::set<std::string> RequestTypesInSources() {
  std::vector<std::pair<std::string, std::string>> classes;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(QORV_SOURCE_DIR "/src")) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
    std::ifstream file(entry.path());
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    CollectClasses(text, classes);
  }
  std::set<std::string> bases{"TDialogRequest"}, requests;
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& [name, baseText] : classes) {
      if (requests.count(name)) continue;
      std::string current;
      for (char c : baseText + " ") {
        if (IsNameChar(c)) {
          current += c;
        } else if (!current.empty()) {
          if (bases.count(current)) {
            requests.insert(name);
            bases.insert(name);
            grew = true;
            break;
          }
          current.clear();
        }
      }
    }
  }
  return requests;
}

struct TNameRequest : TDialogRequest {
  std::string Name;
};
struct TOtherRequest : TDialogRequest {};
struct TDerivedNameRequest : TNameRequest {};

// A dialog as subsystems write them: made from its request, writing back on OK.
class TNameDialog : public QDialog {
public:
  TNameDialog(TNameRequest& request, QWidget* parent) : QDialog(parent), Request(request) {
    Edit = new QLineEdit(QString::fromStdString(request.Name), this);
    Edit->setObjectName("NameEdit");
  }
  void accept() override {
    Request.Name = Edit->text().toStdString();
    QDialog::accept();
  }

private:
  TNameRequest& Request;
  QLineEdit* Edit;
};

// Acts on the next modal TNameDialog.
class TNameDialogCloser {
public:
  explicit TNameDialogCloser(std::function<void(TNameDialog&)> act) : Act(std::move(act)) {
    QObject::connect(&Timer, &QTimer::timeout, [this] {
      auto* dialog = dynamic_cast<TNameDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      Timer.stop();
      Seen = true;
      Act(*dialog);
    });
    Timer.start(10);
  }
  bool Seen = false;

private:
  QTimer Timer;
  std::function<void(TNameDialog&)> Act;
};

}  // namespace

TEST(DialogRegistry, EveryRequestTypeOfTheCoreHasADialogOrWaitsForOne) {
  TDialogRegistry registry;
  RegisterDialogs(registry);

  std::set<std::string> registered, waiting;
  for (const std::type_index& type : registry.Types()) registered.insert(TypeNameOf(type));
  for (const std::type_index& type : requestBases) {
    waiting.insert(TypeNameOf(type));
    EXPECT_FALSE(registry.Serves(type)) << TypeNameOf(type) << " is a base: it has no dialog";
  }
  for (const std::type_index& type : requestsWithoutDialog) {
    waiting.insert(TypeNameOf(type));
    EXPECT_FALSE(registry.Serves(type))
        << TypeNameOf(type) << " has a dialog now: take it off the list of those without";
  }
  EXPECT_EQ(waiting.size(), requestsWithoutDialog.size() + requestBases.size())
      << "a type is listed twice";

  const std::set<std::string> inSources = RequestTypesInSources();
  EXPECT_TRUE(inSources.count("TDataFormRequest")) << "the sources were not read";
  for (const std::string& name : inSources)
    EXPECT_TRUE(registered.count(name) || waiting.count(name))
        << name << " has no dialog registered and is not listed among those without";
  for (const std::string& name : registered)
    EXPECT_TRUE(inSources.count(name)) << name << " is registered but is no request type of src/";
  for (const std::string& name : waiting)
    EXPECT_TRUE(inSources.count(name)) << name << " is listed but is no request type of src/";
}

TEST(DialogRegistry, TheSourceScanFindsRequestsHoweverTheyAreDeclared) {
  std::vector<std::pair<std::string, std::string>> classes;
  CollectClasses(
      "struct TA : TDialogRequest {};\n"
      "class TB final\n  : public TDialogRequest { int x; };\n"
      "struct TC : public TA, private TOther {};\n"
      "class TD;  // declared only\n"
      "struct TE::Inner : x {};\n"
      "subclass TF : TDialogRequest {};\n"
      "enum class TG : unsigned { a };\n",
      classes);
  std::set<std::string> names;
  for (const auto& [name, bases] : classes) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"TA", "TB", "TC", "TG"}));
  EXPECT_EQ(TypeNameOf(typeid(TDataFormRequest)), "TDataFormRequest");
  EXPECT_EQ(TypeNameOf(typeid(TNameRequest)), "(anonymous namespace)::TNameRequest");
}

TEST(DialogRegistry, TheQtPortOpensTheDialogOfTheRequestsOwnType) {
  TDialogRegistry registry;
  QWidget* parentSeen = nullptr;
  bool openedOnMain = false;
  int opened = 0;
  registry.Register<TNameRequest>([&](TNameRequest& request, QWidget* parent) {
    ++opened;
    parentSeen = parent;
    openedOnMain = QThread::currentThread() == qApp->thread();
    request.Name += " (edited)";
    return 1;
  });
  EXPECT_TRUE(registry.Serves(typeid(TNameRequest)));
  EXPECT_FALSE(registry.Serves(typeid(TOtherRequest)));
  EXPECT_EQ(registry.Types(), std::vector<std::type_index>{typeid(TNameRequest)});
  EXPECT_THROW(registry.Register<TNameRequest>([](TNameRequest&, QWidget*) { return 0; }),
               std::logic_error);
  EXPECT_THROW(registry.Register(typeid(TOtherRequest), {}), std::logic_error);
  EXPECT_FALSE(registry.Serves(typeid(TOtherRequest)));

  TQtUiPort port;
  port.SetDialogRegistry(&registry);
  TNameRequest request;
  request.Name = "DMM";
  EXPECT_EQ(port.OpenDialog(request), 1);
  EXPECT_EQ(request.Name, "DMM (edited)");
  EXPECT_EQ(parentSeen, nullptr);

  // Exactly the dynamic type: neither another type nor one derived from a served type.
  TOtherRequest other;
  TDerivedNameRequest derived;
  EXPECT_EQ(port.OpenDialog(other), 0);
  EXPECT_EQ(port.OpenDialog(derived), 0);
  TDialogRequest& asBase = request;
  EXPECT_EQ(port.OpenDialog(asBase), 1);
  EXPECT_EQ(opened, 2);

  // From a worker the dialog opens on the main thread, above the main window.
  TQorvForm window;
  port.AttachWindow(&window);
  int result = -1;
  ASSERT_TRUE(RunOnWorker([&] { result = port.OpenDialog(request); }));
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(openedOnMain);
  EXPECT_EQ(parentSeen, &window);

  // Back to the application's registry, which knows nothing of this test's requests.
  port.SetDialogRegistry(nullptr);
  EXPECT_EQ(port.OpenDialog(request), 0);
  EXPECT_EQ(opened, 3);
}

TEST(DialogRegistry, ARegisteredDialogClassRunsModallyAndAnswersItsResult) {
  TDialogRegistry registry;
  registry.RegisterDialog<TNameRequest, TNameDialog>();
  TQtUiPort port;
  port.SetDialogRegistry(&registry);
  TNameRequest request;
  request.Name = "Scope";
  {
    TNameDialogCloser closer([](TNameDialog& dialog) {
      auto* edit = dialog.findChild<QLineEdit*>("NameEdit");
      ASSERT_NE(edit, nullptr);
      EXPECT_EQ(edit->text(), "Scope");
      edit->selectAll();
      QTest::keyClicks(edit, "Oscilloscope");
      dialog.accept();
    });
    EXPECT_EQ(port.OpenDialog(request), 1);
    EXPECT_TRUE(closer.Seen);
    EXPECT_EQ(request.Name, "Oscilloscope");
  }
  {
    TNameDialogCloser closer([](TNameDialog& dialog) {
      QTest::keyClicks(dialog.findChild<QLineEdit*>("NameEdit"), "X");
      dialog.reject();
    });
    EXPECT_EQ(port.OpenDialog(request), 0);
    EXPECT_TRUE(closer.Seen);
    EXPECT_EQ(request.Name, "Oscilloscope") << "a cancelled dialog changes nothing";
  }
}
