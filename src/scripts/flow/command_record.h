// What the records of several commands share: variable references written with their
// kind, the reader's waiting references of a refused record, and the condition checked
// once a document is read.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class TAttributeScript;
class TConditionAttributeScript;
class TReadFile;
class TReadVariableList;
class TVariable;
class TVariableData;
class TWriteFile;

// Taken at the start of a command's record: unless Keep() is called once the whole
// record has read, the references the record put into the reader's waiting list leave
// it again, since a refused record's references are gone.
class TWaitingReferences {
public:
  explicit TWaitingReferences(TReadFile& reader);
  ~TWaitingReferences();
  TWaitingReferences(const TWaitingReferences&) = delete;
  TWaitingReferences& operator=(const TWaitingReferences&) = delete;

  TReadVariableList& List() { return Waiting; }
  void Keep() { Kept = true; }

private:
  TReadVariableList& Waiting;
  std::size_t Before;
  bool Kept = false;
};

// A new reference of the command for a variable of that kind.
std::unique_ptr<TVariableData> NewReference(TAttributeScript* owner, bool isArray);
// Writes a bound reference: the bool "is an array", the record, and in a block export
// the reference in the writer's list.
void SaveReference(TWriteFile& writer, TVariableData& reference);
// Reads what SaveReference wrote into a new reference, which waits in the reader's list
// for its variable.
std::unique_ptr<TVariableData> LoadReference(TReadFile& reader, TAttributeScript* owner);
// For the commands' checks after a document is read. An array reference whose index
// record names neither an index variable nor a constant means the entire array; so does
// one whose index variable the document did not hold.
//
// Was the index variable that an array reference's record named found (true when the
// record named none, and for a single variable).
bool IndexFound(TVariableData& reference);
// Does the reference name one value: a single variable, or one element of an array by a
// found index variable or by a constant, never the entire array.
bool NamesOneValue(TVariableData& reference);
// After a document is read: EReadError with the message when the command has no
// condition, and with the condition read error when a reference found no variable or
// one of a type the condition cannot compare.
void CheckConditionRead(const TConditionAttributeScript& command, const char* missing);
