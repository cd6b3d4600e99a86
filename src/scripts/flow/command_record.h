// What the records of several commands share: variable references written with their
// kind, and the condition checked once a document is read.
#pragma once

#include <memory>

class TAttributeScript;
class TConditionAttributeScript;
class TReadFile;
class TVariableData;
class TWriteFile;

// A new reference of the command for a variable of that kind.
std::unique_ptr<TVariableData> NewReference(TAttributeScript* owner, bool isArray);
// Writes a bound reference: the bool "is an array", the record, and in a block export
// the reference in the writer's list.
void SaveReference(TWriteFile& writer, TVariableData& reference);
// Reads what SaveReference wrote into a new reference, which waits in the reader's list
// for its variable.
std::unique_ptr<TVariableData> LoadReference(TReadFile& reader, TAttributeScript* owner);
// After a document is read: EReadError with the message when the command has no
// condition, and with the condition read error when a reference found no variable or
// one of a type the condition cannot compare.
void CheckConditionRead(const TConditionAttributeScript& command, const char* missing);
