// The experiment's data files: attributes that name plain text files on disk, to which
// Output to File commands append one line per execution during a run. A single file is
// one named file, overwritten once per run or appended to; a multiple file is a numbered
// series dir/base_N.ext whose number a run advances (Create-new-file commands move it on).
//
// Lines end in CR LF and hold exactly the text given. A file is opened at its first write
// of a run and stays open until the end-of-run step closes it, unless it closes between
// writes; every line is flushed as it is written, so that nothing written is lost when a
// run ends by an error or Stop.
#pragma once

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

#include "model/errors.h"
#include "model/exp_attribute.h"
#include "model/ui_port.h"

class TExpFileList;
class TMultiExpFileList;
class TSingleExpFileList;

// The separator of the folders of a path on this platform; composed names use it.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif
bool IsPathSeparator(char c);

// The text after the last separator, looked for from the second-to-last character down
// to the first; the whole name when there is none there.
std::string ShortFileName(const std::string& fileName);

// Runs a command's work on a data file in a run: any failure stops the run with its
// message (EExperimentError).
template <class TStep>
void RunFileStep(TStep&& step) {
  try {
    step();
  } catch (const EExperimentError&) {
    throw;
  } catch (const std::exception& error) {
    throw EExperimentError(error.what());
  }
}

// Where the multiple-file mode says to write when the file of the current number exists.
enum TMultiFileMode : std::int32_t { mfMAKENEW = 0, mfAPPEND = 1, mfOVERWRITE = 2 };

// The controls of the file dialogs that a refused entry gives the focus to.
enum class TExpFileField { None, FileName, Directory, BaseName, Extension };

// The single-file dialog ("Single File"), asked through the UI port. New files: the list
// opens it, with the Add button shown or hidden; an edit: the file opens it. On Add the
// dialog calls List->AddEntry(request); on OK it closes as Cancel when the Add button
// is shown and the name is empty, else it closes with OK when List->CheckEntry(request)
// accepts (otherwise it stays open and focuses request.Focus). Answers 1 for OK.
struct TSingleExpFileRequest : TDialogRequest {
  TSingleExpFileList* List = nullptr;
  bool ShowAdd = false;
  std::string FormerName;  // the edited file's name upper-cased; empty for a new file
  std::string FileName;
  bool Overwrite = true;
  bool CloseBetweenWrites = true;
  bool WriteFileName = false;
  TExpFileField Focus = TExpFileField::None;  // set by a refusal
};

// The multiple-file dialog ("Multiple File"), asked the same way.
struct TMultiExpFileRequest : TDialogRequest {
  TMultiExpFileList* List = nullptr;
  bool ShowAdd = false;
  std::string FormerName;  // the edited file's full name upper-cased; empty for a new file
  std::string Directory;   // CheckEntry cleans it
  std::string BaseName;
  std::string Extension;
  std::string StartNumber = "0";  // the box's text
  std::int32_t Mode = mfMAKENEW;
  bool CloseBetweenWrites = true;
  bool WriteFileName = false;
  TExpFileField Focus = TExpFileField::None;
};

class TExperimentFile : public TExpAttribute {
public:
  // The node's image is cleared.
  TExperimentFile(const std::string& name, TTreeNode* node, bool closeBetweenWrites,
                  bool writeFileName, TExpFileList* list);
  // Closes an open stream and leaves the list's name table.
  ~TExperimentFile() override;

  // Appends the text and CR LF (worker thread, or the debug window). EFileError
  // "Error Writing to file, <name>abort writing." when the file cannot be created,
  // opened or written; the stream is then gone, and the next write opens it afresh.
  virtual void WriteLine(const std::string& text) = 0;
  // The end of a run: closes the stream (never throws).
  virtual void Close() = 0;
  // Before a run (main thread): false refuses the run, after the message was shown.
  virtual bool PrepareRun() = 0;
  virtual std::string GetFullName() const = 0;
  virtual std::string GetShortName() const = 0;
  // The file's record in experiment and block files: the name, the kind's settings, the
  // users.
  void Save(TWriteFile& writer);
  // Reads the record and binds the waiting references; false when the list already has
  // a file of this full name, which then takes the users (the caller deletes this one).
  bool Load(TReadFile& reader);

  bool IsOpen() const { return PfsFileStream != nullptr; }

  bool AbCloseBetweenWrites;
  bool AbWriteFileName;

protected:
  // The kind's settings in the record, between the name and the users.
  virtual void SaveSettings(TWriteFile& writer) = 0;
  virtual void LoadSettings(TReadFile& reader) = 0;
  // Writes the line to fileName, opening the stream first when none is open: created
  // (truncated) when the file does not exist, or when truncate is set and the file was
  // not created yet (AbCreated), else opened at its end. The CR LF, the name line of a
  // created file, the flush and the close between writes are done here.
  void PutLine(const std::string& fileName, bool truncate, const std::string& text);
  void CloseStream();
  // After a record is read: enters the file in the list's name table; false when the
  // list has another file of the same full name, which then takes this file's users.
  bool EnterLoaded();

  TExpFileList* PList;
  std::FILE* PfsFileStream = nullptr;
  bool AbCreated = false;  // truncated in this run (a multiple file: for this number)
};

class TSingleExpFile : public TExperimentFile {
public:
  TSingleExpFile(const std::string& name, TTreeNode* node, bool closeBetweenWrites,
                 bool writeFileName, TSingleExpFileList* list, const std::string& fileName,
                 bool overwrite);

  // Opens the single-file dialog; after OK the file takes the entries (the name, when
  // it changed, renames the attribute to the new short name) and the experiment is
  // marked modified. Answers 1 after OK.
  int Edit() override;
  TAttributeType GetAttributeType() const override { return SINGLEEXPFILE; }
  // At the first write of a run with overwrite set the file is created; otherwise an
  // existing file is appended to, a missing one created.
  void WriteLine(const std::string& text) override;
  void Close() override;
  // Without users: true, unchecked. Else "Directory <dir> does not exist.  Cannot run
  // experiment." and false when the name's folder is missing.
  bool PrepareRun() override;
  std::string GetFullName() const override { return PsFileName; }
  std::string GetShortName() const override { return ShortFileName(PsFileName); }

  const std::string& GetFileName() const { return PsFileName; }
  bool GetOverwrite() const { return AbOverwrite; }

protected:
  // File name, overwrite, close between writes, write file name.
  void SaveSettings(TWriteFile& writer) override;
  void LoadSettings(TReadFile& reader) override;

private:
  std::string PsFileName;
  bool AbOverwrite;
};

class TMultiExpFile : public TExperimentFile {
public:
  // Empty directory, base and extension, mode make-new, numbers 0.
  TMultiExpFile(const std::string& name, TTreeNode* node, bool closeBetweenWrites,
                bool writeFileName, TMultiExpFileList* list);

  // Opens the multiple-file dialog; after OK the file takes the entries, is renamed to
  // its new short name and the experiment is marked modified. Answers 1 after OK.
  int Edit() override;
  TAttributeType GetAttributeType() const override { return MULTIEXPFILE; }
  // Writes to the file of the current number: in append mode, or once this number's
  // file was created in this run, an existing file is appended to; otherwise (the first
  // write to the number in make-new or overwrite mode) the file is created.
  void WriteLine(const std::string& text) override;
  // Closes the stream; in make-new mode a file prepared for the run keeps the number
  // reached as its start number.
  void Close() override;
  // Without users: true, unchecked, and the file is not prepared. Else the run starts
  // at the start number, moving past used numbers in make-new mode; false (after the
  // missing-directory message) when the directory is missing.
  bool PrepareRun() override;
  // directory/base_X.ext
  std::string GetFullName() const override;
  // base_X.ext
  std::string GetShortName() const override;

  // Create-new-file: closes the stream and moves to the next number (in make-new mode
  // the next whose file does not exist: a number never written is kept).
  void StartNewFile();
  // directory/base_N.ext for the current number N.
  std::string GetFileName() const;
  // Make-new mode: while the current number's file exists, the next number; after every
  // 31st used number in a row the user is asked whether to go on, and No puts the
  // current number back to the start number and raises EFileError "No file". Other
  // modes: the next number.
  void FindUnusedFileName();

  // The settings a dialog or a record gives.
  void SetNames(const std::string& directory, const std::string& baseName,
                const std::string& extension);
  void SetMode(std::int32_t mode);
  void SetStartIndex(std::int32_t start);

  const std::string& GetDirectory() const { return PsDirectory; }
  const std::string& GetBaseName() const { return PsBaseName; }
  const std::string& GetExtension() const { return PsExtension; }
  std::int32_t GetMode() const { return AMode; }
  std::int32_t GetStartIndex() const { return AStartIndex; }
  std::int32_t GetCurrentIndex() const { return ACurrentIndex; }

protected:
  // Directory, base, extension, mode, start number, close between writes, write file
  // name.
  void SaveSettings(TWriteFile& writer) override;
  void LoadSettings(TReadFile& reader) override;

private:
  std::string PsDirectory;
  std::string PsBaseName;
  std::string PsExtension;
  std::int32_t AMode = mfMAKENEW;
  std::int32_t AStartIndex = 0;
  bool Prepared = false;  // prepared for the run now going on
  std::int32_t ACurrentIndex = 0;
};
