// Base of everything listed in the attribute tree: the attributes (variables, outputs,
// data files), which keep the references of the commands that use them, and the lists
// that hold them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/user_list.h"

class TTreeNode;
class TVariable;
class TCopyScript;
class TExperiment;
class TWriteFile;
class TReadFile;

// What ExpAttDataType answers.
enum TExpAttDataType { ATTRIBUTE = 0, ATTRIBUTELIST = 1 };

// Attribute kinds answered by GetAttributeType.
enum TAttributeType {
  OUTPUT = 0,
  SINGLEVARIABLE = 1,
  ARRAYVARIABLE = 2,
  SINGLEEXPFILE = 3,
  MULTIEXPFILE = 4,
};

// Images of the attribute tree.
enum TAttributeImage {
  imgSINGLEROOT = 5,
  imgARRAYROOT = 9,
};

// The image of a variable (isArray) or output (kind 3 to 6) of a type; -1 for none.
int AttributeImage(bool isArray, int type);
int OutputImage(int kind);
// "String", "Integer", "Float", "Text", "Table", "Graph", "Bignum" for codes 0 to 6,
// the empty text for any other.
std::string TypeName(int type);

class TExpAttViewData {
public:
  // Keeps the node (none is allowed) and makes its data point back to this object.
  explicit TExpAttViewData(TTreeNode* node);
  // Clears the node's data and deletes the node.
  virtual ~TExpAttViewData();
  TExpAttViewData(const TExpAttViewData&) = delete;
  TExpAttViewData& operator=(const TExpAttViewData&) = delete;

  virtual TExpAttDataType ExpAttDataType() const = 0;

  TTreeNode* AExpAttNode;
};

// The object a node of the attribute tree shows (none for a node without one).
TExpAttViewData* AttViewDataOfNode(const TTreeNode* node);

class TExpAttribute : public TExpAttViewData {
public:
  TExpAttribute(const std::string& displayName, TTreeNode* node);
  // Tells a copy record to let go, clears every user and deletes the commands that
  // cannot live without this attribute, then deletes the node.
  ~TExpAttribute() override;

  TExpAttDataType ExpAttDataType() const override { return ATTRIBUTE; }
  // Answers the reference's position among the users; a reference is listed once.
  virtual int AddUser(TVariable* reference);
  virtual void RemoveUser(TVariable* reference);
  virtual int Edit() = 0;
  // Keeps the name, shows it on the node and refreshes the text of every command that
  // uses this attribute (each once).
  virtual void SetName(const std::string& name);
  virtual TAttributeType GetAttributeType() const = 0;

  bool HasUser(const TVariable* reference) const;
  bool HasUsers() const { return !Users.Empty(); }
  std::int32_t GetUserCount() const;
  // The users in order; empty without users.
  std::vector<TVariable*> GetUsers() const;
  const std::string& GetName() const { return DisplayName; }

  void SetCopyScript(TCopyScript* script);
  void ClearCopyScript() { Pcopyscript = nullptr; }
  TCopyScript* GetCopyScript() const { return Pcopyscript; }
  // A copy record naming this attribute lets go of it (and of everything else): the
  // attribute is going away or changing its type.
  void DisableCopyScript();

  // True without users; otherwise the user confirms that commands may be deleted.
  bool CanDelete();
  // True when every user accepts the new type.
  bool CanChangeType(int type);
  // After a retype: disables a copy record naming the attribute, drops the users that
  // let the attribute go and deletes their commands (a Decision only loses its
  // condition).
  void DeleteIncompatibleUsers();

  // The user count (in a block export, only the exported users) and, when there are
  // users, this attribute's identifier.
  void SaveUsers(TWriteFile& writer);
  // Binds the references waiting in the reader to this attribute; "Error reading
  // attribute" when their number is not the count saved. While the reader defers
  // (DeferAttributeUsers), that is left to BindDeferredUsers.
  void LoadUsers(TReadFile& reader);

private:
  TUserList Users;
  std::string DisplayName;
  TCopyScript* Pcopyscript = nullptr;
};

// From now on the attributes the reader reads bind their users only at
// BindDeferredUsers, all in one pass, as each would have bound them when it was read.
// For attributes whose readers do not look at the users straight after LoadUsers.
void DeferAttributeUsers(TReadFile& reader);
// Binds the users of the deferred attributes; "Error reading attribute" when one of them
// did not bind the count saved. Called as well when reading stopped in between, since
// then that message comes first.
void BindDeferredUsers(TReadFile& reader);

class TExpAttList : public TExpAttViewData {
public:
  TExpAttList(TExperiment* owner, TTreeNode* node);
  // Destroys the attributes of the list.
  ~TExpAttList() override;

  TExpAttDataType ExpAttDataType() const override { return ATTRIBUTELIST; }
  // Adds an attribute through the user interface.
  virtual void UserAdd() = 0;
  virtual void AddNew() = 0;
  virtual int GetListKind() const = 0;

  // Destroys every attribute of the list; when ask is set, the user confirms first.
  void Clear(bool ask);
  // Destroys every attribute that has no users, keeping the others in their order.
  void ClearUnused();
  TExperiment* GetExperiment() const { return Pexpowner; }

protected:
  TExperiment* Pexpowner;
};
