#include "outputs/mat_file.h"

#include <dlfcn.h>
#include <unistd.h>

#include <matio.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <limits>
#include <mutex>
#include <system_error>

#include "outputs/mat_layout.h"

namespace {

thread_local std::vector<std::string> Log;

void LogLine(int level, char* message) {
  // Warnings and debug lines describe what matio skipped on its way; errors are what
  // the user needs to hear when an operation fails.
  if ((level & (MATIO_LOG_LEVEL_ERROR | MATIO_LOG_LEVEL_CRITICAL)) == 0) return;
  if (Log.size() < 20) Log.emplace_back(message ? message : "");
}

// Once: matio's log comes to us, and HDF5 (behind MAT 7.3 files) prints no error stacks
// of its own on standard error. HDF5 is looked up in the process rather than linked, so
// a matio built without it needs nothing.
void StartLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    Mat_LogInitFunc("qorv", LogLine);
    using TSetAuto = int (*)(std::int64_t, void*, void*);
    if (void* f = dlsym(RTLD_DEFAULT, "H5Eset_auto2"))
      reinterpret_cast<TSetAuto>(f)(0 /* H5E_DEFAULT */, nullptr, nullptr);
  });
  Log.clear();
}

struct TMatCloser {
  mat_t* File = nullptr;
  ~TMatCloser() {
    if (File) Mat_Close(File);
  }
  // Closes now; false when the close failed (the file's last bytes may be missing).
  bool Close() {
    mat_t* f = File;
    File = nullptr;
    return f == nullptr || Mat_Close(f) == 0;
  }
};

struct TVarFree {
  matvar_t* Var = nullptr;
  ~TVarFree() {
    if (Var) Mat_VarFree(Var);
  }
};

template <class T>
void Widen(const void* data, std::size_t count, std::vector<double>& out) {
  const T* values = static_cast<const T*>(data);
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<double>(values[i]);
}

// The element size of a numeric type in memory, 0 for any other.
int NumericSize(matio_types type) {
  switch (type) {
    case MAT_T_DOUBLE:
    case MAT_T_INT64:
    case MAT_T_UINT64: return 8;
    case MAT_T_SINGLE:
    case MAT_T_INT32:
    case MAT_T_UINT32: return 4;
    case MAT_T_INT16:
    case MAT_T_UINT16: return 2;
    case MAT_T_INT8:
    case MAT_T_UINT8: return 1;
    default: return 0;
  }
}

bool WidenAll(matio_types type, const void* data, std::size_t count, std::vector<double>& out) {
  switch (type) {
    case MAT_T_DOUBLE: Widen<double>(data, count, out); return true;
    case MAT_T_SINGLE: Widen<float>(data, count, out); return true;
    case MAT_T_INT8: Widen<std::int8_t>(data, count, out); return true;
    case MAT_T_UINT8: Widen<std::uint8_t>(data, count, out); return true;
    case MAT_T_INT16: Widen<std::int16_t>(data, count, out); return true;
    case MAT_T_UINT16: Widen<std::uint16_t>(data, count, out); return true;
    case MAT_T_INT32: Widen<std::int32_t>(data, count, out); return true;
    case MAT_T_UINT32: Widen<std::uint32_t>(data, count, out); return true;
    case MAT_T_INT64: Widen<std::int64_t>(data, count, out); return true;
    case MAT_T_UINT64: Widen<std::uint64_t>(data, count, out); return true;
    default: return false;
  }
}

bool NumericClass(matio_classes c) { return c >= MAT_C_DOUBLE && c <= MAT_C_UINT64; }

std::string ClassText(matio_classes c) {
  switch (c) {
    case MAT_C_CELL: return "a cell array";
    case MAT_C_STRUCT: return "a structure";
    case MAT_C_CHAR: return "text";
    case MAT_C_SPARSE: return "a sparse matrix";
    default: return "data of a kind that is not a numeric matrix";
  }
}

// Rows and the product of the other dimensions, checked before anything is allocated.
// Empty when the shape is within bounds; else why not.
std::string Shape(const matvar_t& var, std::int32_t& rows, std::int32_t& columns) {
  constexpr std::uint64_t IntMax = std::numeric_limits<std::int32_t>::max();
  if (var.rank < 1 || var.dims == nullptr) return "it has no dimensions";
  const std::uint64_t r = var.dims[0];
  std::uint64_t c = 1;
  for (int i = 1; i < var.rank; ++i) {
    const std::uint64_t d = var.dims[i];
    if (d != 0 && c > IntMax / d) return "it has too many columns";
    c *= d;
  }
  if (r > IntMax) return "it has too many rows";
  if (c > IntMax) return "it has too many columns";
  if (r != 0 && c > MaxMatImportElements / r)
    return "it holds more than " + std::to_string(MaxMatImportElements) + " values";
  rows = static_cast<std::int32_t>(r);
  columns = static_cast<std::int32_t>(c);
  return "";
}

TMatArrayRead Refuse(const std::string& name, const std::string& why) {
  TMatArrayRead result;
  result.Status = TMatArrayRead::Refused;
  result.Refusal = "Array " + name + " cannot be imported: " + why + ".";
  return result;
}

bool Writable(const std::filesystem::path& path) {
  std::error_code error;
  const auto perms = std::filesystem::status(path, error).permissions();
  if (error) return false;
  // Even for the superuser, a file marked read-only is one the user means to keep.
  if ((perms & std::filesystem::perms::owner_write) == std::filesystem::perms::none) return false;
  return access(path.c_str(), W_OK) == 0;
}

// A name next to the target for the copy being changed.
std::filesystem::path CopyPath(const std::filesystem::path& target) {
  static std::atomic<unsigned> serial{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::filesystem::path copy = target;
  copy += "." + std::to_string(getpid()) + "-" + std::to_string(stamp) + "-" +
          std::to_string(serial++) + ".tmp";
  return copy;
}

matvar_t* MakeMatrix(const std::string& name, std::int32_t rows, std::int32_t columns,
                     const std::vector<double>& values) {
  size_t dims[2] = {static_cast<size_t>(rows), static_cast<size_t>(columns)};
  // matio copies the values, so the caller's vector may be const.
  return Mat_VarCreate(name.c_str(), MAT_C_DOUBLE, MAT_T_DOUBLE, 2, dims,
                       const_cast<double*>(values.data()), 0);
}

bool WriteNew(const std::filesystem::path& path, const std::string& name, matvar_t* var) {
  TMatCloser file{Mat_CreateVer(path.c_str(), nullptr, MAT_FT_MAT5)};
  if (!file.File) return false;
  const bool written = Mat_VarWrite(file.File, var, MAT_COMPRESSION_NONE) == 0;
  (void)name;
  const bool closed = file.Close();
  if (written && closed) return true;
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  return false;
}

bool HasArray(mat_t* file, const std::string& name) {
  size_t n = 0;
  char** names = Mat_GetDir(file, &n);
  if (!names) return false;
  for (size_t i = 0; i < n; ++i)
    if (names[i] && name == names[i]) return true;
  return false;
}

bool Update(const std::filesystem::path& path, const std::string& name, matvar_t* var) {
  // Only a sound MAT file is ever replaced.
  if (!Writable(path) || !WalkMatLayout(path).Whole) return false;
  {
    TMatCloser probe{Mat_Open(path.c_str(), MAT_ACC_RDONLY)};
    if (!probe.File) return false;
  }
  const std::filesystem::path copy = CopyPath(path);
  std::error_code error;
  if (!std::filesystem::copy_file(path, copy, error) || error) {
    std::filesystem::remove(copy, error);
    return false;
  }
  bool done = false;
  {
    TMatCloser file{Mat_Open(copy.c_str(), MAT_ACC_RDWR)};
    if (file.File) {
      const bool removed =
          !HasArray(file.File, name) || Mat_VarDelete(file.File, name.c_str()) == 0;
      const bool written = removed && Mat_VarWrite(file.File, var, MAT_COMPRESSION_NONE) == 0;
      const bool closed = file.Close();
      done = written && closed;
    }
  }
  if (done) {
    std::filesystem::rename(copy, path, error);
    done = !error;
  }
  if (!done) std::filesystem::remove(copy, error);
  return done;
}

}  // namespace

const std::vector<std::string>& MatLibraryLog() { return Log; }

std::optional<std::vector<std::string>> ListMatArrays(const std::string& path) {
  StartLibrary();
  const TMatLayout layout = WalkMatLayout(path);
  if (!layout.Readable) return std::nullopt;
  TMatCloser file{Mat_Open(path.c_str(), MAT_ACC_RDONLY)};
  if (!file.File) return std::nullopt;
  std::vector<std::string> result;
  // Walked one by one rather than through the directory, which a damaged file may
  // leave unread altogether: the names of the sound records before the damage are
  // still offered.
  for (std::size_t i = 0; layout.Mat73 || i < layout.Sound; ++i) {
    matvar_t* info = Mat_VarReadNextInfo(file.File);
    if (!info) break;
    TVarFree owner{info};
    if (info->name && *info->name) result.emplace_back(info->name);
    if (result.size() > 100000) break;
  }
  if (result.empty() && layout.Mat73) {
    size_t n = 0;
    if (char** names = Mat_GetDir(file.File, &n))
      for (size_t i = 0; i < n; ++i)
        if (names[i]) result.emplace_back(names[i]);
  }
  return result;
}

TMatArrayRead ReadMatArray(const std::string& path, const std::string& name) {
  StartLibrary();
  if (!WalkMatLayout(path).Readable) return {};
  TMatCloser file{Mat_Open(path.c_str(), MAT_ACC_RDONLY)};
  if (!file.File) return {};
  TVarFree info{Mat_VarReadInfo(file.File, name.c_str())};
  if (!info.Var) return {};
  const matvar_t& head = *info.Var;
  if (!NumericClass(head.class_type)) return Refuse(name, "it holds " + ClassText(head.class_type));
  TMatArrayRead result;
  const std::string shape = Shape(head, result.Rows, result.Columns);
  if (!shape.empty()) return Refuse(name, shape);
  if (static_cast<std::int64_t>(result.Rows) * result.Columns < 1) {
    result.Status = TMatArrayRead::Empty;
    return result;
  }
  TVarFree var{Mat_VarRead(file.File, name.c_str())};
  if (!var.Var || !NumericClass(var.Var->class_type)) return Refuse(name, "it cannot be read");
  std::int32_t rows = 0, columns = 0;
  if (!Shape(*var.Var, rows, columns).empty() || rows != result.Rows || columns != result.Columns)
    return Refuse(name, "it cannot be read");
  const auto count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
  const int size = NumericSize(var.Var->data_type);
  const void* data = var.Var->data;
  if (var.Var->isComplex && data) data = static_cast<const mat_complex_split_t*>(data)->Re;
  // The bytes read must hold every element: a damaged file may say otherwise.
  if (size == 0 || var.Var->data_size != size || data == nullptr ||
      var.Var->nbytes / static_cast<std::size_t>(size) < count)
    return Refuse(name, "it cannot be read");
  result.Values.resize(count);
  WidenAll(var.Var->data_type, data, count, result.Values);
  result.Status = TMatArrayRead::Read;
  return result;
}

bool WriteMatArray(const std::string& path, const std::string& name, std::int32_t rows,
                   std::int32_t columns, const std::vector<double>& values) {
  StartLibrary();
  if (name.empty() || rows < 1 || columns < 1 ||
      values.size() != static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns))
    return false;
  TVarFree var{MakeMatrix(name, rows, columns, values)};
  if (!var.Var) return false;
  const std::filesystem::path target(path);
  std::error_code error;
  if (std::filesystem::exists(target, error)) return Update(target, name, var.Var);
  if (error) return false;
  return WriteNew(target, name, var.Var);
}
