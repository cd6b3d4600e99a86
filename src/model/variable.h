// A command's reference to an experiment attribute. The reference registers as a user
// of what it names, so that the attribute can ask the command about a retype, tell it
// that the attribute goes away, and refresh its text after a rename.
#pragma once

#include <cstddef>
#include <cstdint>

class TExpAttribute;
class TAttributeScript;
class TWriteFile;
class TReadFile;
class TUserList;

class TVariable {
public:
  TVariable() = default;
  // A copy is a user of no attribute until it registers.
  TVariable(const TVariable&) {}
  TVariable& operator=(const TVariable&) { return *this; }
  // Leaves the users of the attribute it is still listed with (variable.cpp).
  virtual ~TVariable();

  // Forgets the bound attribute without telling it (the attribute is being destroyed).
  virtual void ClearRef() = 0;
  // After a retype: true when the reference dropped its attribute.
  virtual bool ReleaseRef() = 0;
  // Binds to the object when the identifier is the one read with the reference.
  virtual bool ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) = 0;
  // The same, except that the owner's text is left to the caller: textStale tells
  // whether ResolveLoadedLink would have refreshed it.
  virtual bool LinkLoaded(TExpAttribute* object, std::int32_t identifier, bool& textStale) {
    textStale = false;
    return ResolveLoadedLink(object, identifier);
  }
  // The identifier read with the reference and not bound yet; -1 when none.
  virtual std::int32_t GetPendingId() const = 0;
  // May the attribute take this type.
  virtual bool NotifyOwner(int type) = 0;
  virtual void Save(TWriteFile& writer) = 0;
  virtual void Load(TReadFile& reader) = 0;
  virtual TAttributeScript* GetScriptOwner() const = 0;

private:
  // The place of this reference among the users of the attribute it names (user_list.h).
  friend class TUserList;
  TUserList* UserList = nullptr;
  std::size_t UserSlot = 0;
};
