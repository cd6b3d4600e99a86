#include "platform/ni488_library.h"

#include <cerrno>

namespace {

// The status of the calling thread's last call.
thread_local int ThreadIbsta = 0;
thread_local int ThreadIberr = 0;
thread_local long ThreadIbcntl = 0;

const char* const FunctionNames[] = {"ibdev", "ibfind", "ibwrt", "ibrd", "ibrsp",
                                     "ibtmo", "ibeot",  "ibonl", "ibln", "ibsic"};
const char* const Variable = "QORV_NI488_LIBRARY";
const char* const DefaultFile = "libgpib.so.0";

// A call that could not be made: ERR, iberr 0 and the system's error code.
void RecordFailure(int error) {
  ThreadIbsta = niERR;
  ThreadIberr = 0;
  ThreadIbcntl = error;
}

}  // namespace

TNi488Library& TNi488Library::Instance() {
  static TNi488Library library;
  return library;
}

TNi488Library::TNi488Library() : Library(Variable, DefaultFile, FunctionNames, fFunctionCount) {}

std::string TNi488Library::FileName() { return TSharedLibrary::FileName(Variable, DefaultFile); }

bool TNi488Library::LoadLocked() {
  if (Library.IsLoaded()) return true;
  if (!Library.Load()) return false;
  Source.Ibsta = reinterpret_cast<ni_thread_status_fn>(Library.Symbol("ThreadIbsta"));
  Source.Iberr = reinterpret_cast<ni_thread_status_fn>(Library.Symbol("ThreadIberr"));
  Source.Ibcntl = reinterpret_cast<ni_thread_count_fn>(Library.Symbol("ThreadIbcntl"));
  if (Source.Ibsta && Source.Iberr && Source.Ibcntl) return true;
  Source = {};
  Source.IbstaVar = static_cast<int*>(Library.Symbol("ibsta"));
  Source.IberrVar = static_cast<int*>(Library.Symbol("iberr"));
  Source.IbcntlVar = static_cast<long*>(Library.Symbol("ibcntl"));
  if (Source.IbstaVar && Source.IberrVar && Source.IbcntlVar) return true;
  UnloadLocked();
  errno = ENOENT;
  return false;
}

void TNi488Library::UnloadLocked() {
  Library.Unload();
  Source = {};
}

void TNi488Library::Unload() {
  std::lock_guard<std::mutex> guard(Lock);
  UnloadLocked();
}

void* TNi488Library::Function(TFunction function, TStatusSource& source) {
  std::lock_guard<std::mutex> guard(Lock);
  if (!LoadLocked()) {
    RecordFailure(errno);
    return nullptr;
  }
  void* found = Library.Function(function);
  if (!found) {
    RecordFailure(ENOENT);
    return nullptr;
  }
  source = Source;
  return found;
}

template <typename Fn, typename... Args>
int TNi488Library::Call(TFunction function, int failure, Args... args) {
  TStatusSource source;
  const auto fn = reinterpret_cast<Fn>(Function(function, source));
  if (!fn) return failure == 0 ? ThreadIbsta : failure;
  if (source.Ibsta) {
    const int result = fn(args...);
    ThreadIbsta = source.Ibsta();
    ThreadIberr = source.Iberr();
    ThreadIbcntl = source.Ibcntl();
    return result;
  }
  // Shared variables: one call at a time, so each thread reads its own call's status.
  std::lock_guard<std::mutex> guard(CallLock);
  const int result = fn(args...);
  ThreadIbsta = *source.IbstaVar;
  ThreadIberr = *source.IberrVar;
  ThreadIbcntl = *source.IbcntlVar;
  return result;
}

// Descriptor calls answer -1 when they cannot be made, the others ibsta (failure 0).
int TNi488Library::Ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
  return Call<ni_ibdev_fn>(fIbdev, -1, board, pad, sad, tmo, eot, eos);
}

int TNi488Library::Ibfind(const char* name) {
  return Call<ni_ibfind_fn>(fIbfind, -1, name);
}

int TNi488Library::Ibwrt(int ud, const void* buffer, long count) {
  return Call<ni_ibwrt_fn>(fIbwrt, 0, ud, buffer, count);
}

int TNi488Library::Ibrd(int ud, void* buffer, long count) {
  return Call<ni_ibrd_fn>(fIbrd, 0, ud, buffer, count);
}

int TNi488Library::Ibrsp(int ud, char* status) {
  return Call<ni_ibrsp_fn>(fIbrsp, 0, ud, status);
}

int TNi488Library::Ibtmo(int ud, int code) { return Call<ni_ibtmo_fn>(fIbtmo, 0, ud, code); }

int TNi488Library::Ibeot(int ud, int eot) { return Call<ni_ibeot_fn>(fIbeot, 0, ud, eot); }

int TNi488Library::Ibonl(int ud, int online) {
  return Call<ni_ibonl_fn>(fIbonl, 0, ud, online);
}

int TNi488Library::Ibln(int ud, int pad, int sad, short* listener) {
  return Call<ni_ibln_fn>(fIbln, 0, ud, pad, sad, listener);
}

int TNi488Library::Ibsic(int ud) { return Call<ni_ibsic_fn>(fIbsic, 0, ud); }

int TNi488Library::Ibsta() { return ThreadIbsta; }
int TNi488Library::Iberr() { return ThreadIberr; }
long TNi488Library::Ibcntl() { return ThreadIbcntl; }
