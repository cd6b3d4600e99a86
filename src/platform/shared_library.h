// A shared library loaded at run time on first use, from the file named by an environment
// variable or else a default file, with its functions looked up by index on their first
// use and kept. It takes no lock: its owner calls it under its own mutex. The library
// stays mapped at exit for whatever still runs then.
#pragma once

#include <string>
#include <vector>

class TSharedLibrary {
public:
  // names: the functions by index; the array must outlive the object.
  TSharedLibrary(const char* variable, const char* defaultFile, const char* const* names,
                 int count);
  TSharedLibrary(const TSharedLibrary&) = delete;
  TSharedLibrary& operator=(const TSharedLibrary&) = delete;

  // The variable's value at this moment, or the default when it is unset or empty.
  static std::string FileName(const char* variable, const char* defaultFile);

  // Loads from the file named now when not loaded; false when it cannot (errno as the
  // failed dlopen left it).
  bool Load();
  // Releases the library and forgets its functions; the next Load opens it again.
  void Unload();
  bool IsLoaded() const { return Handle != nullptr; }
  // The file of the last load (or attempt).
  const std::string& File() const { return LoadedFile; }
  const char* Name(int index) const { return Names[index]; }

  // The function of the index, looked up once; null when the library lacks it. The
  // library must be loaded.
  void* Function(int index);
  // Any symbol of the loaded library, looked up each time; null when it lacks it.
  void* Symbol(const char* name) const;

private:
  const char* const Variable;
  const char* const DefaultFile;
  const char* const* const Names;
  std::vector<void*> Functions;
  void* Handle = nullptr;
  std::string LoadedFile;
};
