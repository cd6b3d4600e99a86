// The NI-488.2 library, loaded at run time on first use from the file named by
// QORV_NI488_LIBRARY, else "libgpib.so.0", so that everything else runs on a machine
// without it. One instance serves the process; the worker and the main thread may call
// it. Each function is looked up on its own first call and kept; a failed load is tried
// again at the next call.
//
// Every call records ibsta, iberr and ibcntl for the calling thread (from ThreadIbsta,
// ThreadIberr and ThreadIbcntl where the library has them, else from its variables
// ibsta, iberr, ibcntl); Ibsta(), Iberr() and Ibcntl() read them back. A library or
// function that cannot be found fails the call without making it: ibsta ERR (0x8000),
// iberr 0, ibcntl the system's error code; the calls answering a descriptor then answer
// -1, the others that ibsta.
#pragma once

#include <mutex>
#include <string>

#include "platform/ni488_api.h"
#include "platform/shared_library.h"

class TNi488Library {
public:
  static TNi488Library& Instance();
  TNi488Library(const TNi488Library&) = delete;
  TNi488Library& operator=(const TNi488Library&) = delete;

  // The file it loads from (the variable's value at this moment, or the default).
  static std::string FileName();

  // Descriptor, or -1.
  int Ibdev(int board, int pad, int sad, int tmo, int eot, int eos);
  int Ibfind(const char* name);
  // ibsta.
  int Ibwrt(int ud, const void* buffer, long count);
  int Ibrd(int ud, void* buffer, long count);
  int Ibrsp(int ud, char* status);
  int Ibtmo(int ud, int code);
  int Ibeot(int ud, int eot);
  int Ibonl(int ud, int online);
  int Ibln(int ud, int pad, int sad, short* listener);
  int Ibsic(int ud);

  // The status of the calling thread's last call.
  static int Ibsta();
  static int Iberr();
  static long Ibcntl();

  // Releases the library; the next call loads again (the file named at that moment).
  void Unload();

private:
  TNi488Library();
  ~TNi488Library() = default;

  enum TFunction : int {
    fIbdev, fIbfind, fIbwrt, fIbrd, fIbrsp, fIbtmo, fIbeot, fIbonl, fIbln, fIbsic,
    fFunctionCount
  };
  // Where the status of a call is read: the per-thread functions, else the variables.
  struct TStatusSource {
    ni_thread_status_fn Ibsta = nullptr;
    ni_thread_status_fn Iberr = nullptr;
    ni_thread_count_fn Ibcntl = nullptr;
    int* IbstaVar = nullptr;
    int* IberrVar = nullptr;
    long* IbcntlVar = nullptr;
  };
  // The function, loading the library when needed, and where its status is read; null
  // (with the failed call's status recorded) when it cannot be found.
  void* Function(TFunction function, TStatusSource& source);
  // Makes the call and records its status; failure when it cannot be made.
  template <typename Fn, typename... Args>
  int Call(TFunction function, int failure, Args... args);
  bool LoadLocked();
  void UnloadLocked();

  std::mutex Lock;
  // Serialises the calls when the library keeps its status in shared variables only.
  std::mutex CallLock;
  TSharedLibrary Library;
  TStatusSource Source;
};
