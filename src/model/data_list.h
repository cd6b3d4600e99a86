// The experiment's two variable lists: single variables and array variables. A list owns
// its variables through the attribute tree (each is the data of one child node of the
// list's node, in the order of their blocks) and keeps the register of their names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/data_name_list.h"
#include "model/exp_attribute.h"

class TBlock;
class TData;
class TReport;
struct TDataFormRequest;

class TDataList : public TExpAttList {
public:
  TDataList(TExperiment* owner, TTreeNode* node);
  // Destroys the variables (each removes its own name), then the name list.
  ~TDataList() override;

  // Adds a variable through the user interface (refused while a run is active or when
  // no block is current).
  void UserAdd() override;
  // The variable dialog in add mode for the current block: each Add makes a variable,
  // and OK one more from the last entries.
  void AddNew() override;
  // 1 for single variables, 2 for arrays.
  int GetListKind() const override = 0;

  // A new variable of this list in the block from the dialog's answers.
  virtual TData* Create(TBlock* block, const TDataFormRequest& entries);
  // The variable dialog in edit mode, then Create on OK; none otherwise.
  virtual TData* AddWithDialog(TBlock* block, bool readOnlyAllowed);
  // Appends every variable owned by the block.
  virtual void GetDataOfBlock(TBlock* block, std::vector<TData*>& list) const;
  // Clears the list, then appends every variable.
  virtual void GetAll(std::vector<TData*>& list) const;
  // A variable named "nothing" on the node, for a record about to be read.
  virtual TData* CreateForLoad(int type, TTreeNode* node, TBlock* block);
  // A new variable from a command dialog (single: size 1; arrays: size above 1).
  virtual TData* Add(TBlock* block, int type, std::int32_t size, const std::string& name);
  // May a command wanting this type and size use the variable.
  virtual bool Accepts(int type, std::int32_t size, TData* variable) const = 0;

  // The list record of experiment files.
  void Save(TWriteFile& writer);
  // blocks: the blocks read, each with the identifier it was saved under.
  void Load(TReadFile& reader, const std::vector<TBlock*>& blocks);
  // The variables a block export takes: the block's own and those its commands use.
  void SaveBlock(TWriteFile& writer, TBlock* block);
  // Reads the variables of a block file into the block.
  void LoadBlock(TReadFile& reader, TBlock* block);
  // Asks for a variable of the block that fits the type and size, or a new one.
  TData* SelectVariable(const std::string& caption, TBlock* block, std::int32_t size, int type);
  // The variable listing of the experiment report.
  virtual void WriteReport(TReport& report) const = 0;

  int GetCount() const;
  // The register of names, created on first use.
  TDataNameList& GetDataNameList();

protected:
  // A variable of this list's kind on the node.
  virtual TData* NewVariable(TTreeNode* node, const std::string& name, int type, TBlock* block) = 0;
  // The variables in list order.
  std::vector<TData*> Variables() const;
  // Keeps the children in the order of their blocks in the experiment tree and
  // expands the list's node.
  void SortByBlock();
  // Puts a variable just added as the last child where SortByBlock would put it: after
  // the last variable of its block or of the blocks before it. Only a list that the
  // blocks' order no longer matches is sorted again as a whole.
  void PlaceByBlock(TData* variable);
  // Adds a child node with empty text for a new variable.
  TTreeNode* NewNode();

private:
  std::unique_ptr<TDataNameList> DataNameList;
};

class TDataSingleList : public TDataList {
public:
  TDataSingleList(TExperiment* owner, TTreeNode* node);

  int GetListKind() const override { return 1; }
  bool Accepts(int type, std::int32_t size, TData* variable) const override;
  void WriteReport(TReport& report) const override;

protected:
  TData* NewVariable(TTreeNode* node, const std::string& name, int type, TBlock* block) override;
};

class TDataArrayList : public TDataList {
public:
  TDataArrayList(TExperiment* owner, TTreeNode* node);

  int GetListKind() const override { return 2; }
  bool Accepts(int type, std::int32_t size, TData* variable) const override;
  void WriteReport(TReport& report) const override;

protected:
  TData* NewVariable(TTreeNode* node, const std::string& name, int type, TBlock* block) override;
};
