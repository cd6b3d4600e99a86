#include "support/scipy_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const Python = "/usr/bin/python3";

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

bool RunPython(const std::string& script, const std::string& arguments, std::string& output) {
  const auto path =
      std::filesystem::temp_directory_path() / ("qorv-scipy-" + std::to_string(::getpid()) + ".py");
  std::ofstream(path) << script;
  const std::string command =
      std::string(Python) + " " + Quoted(path.string()) + " " + arguments + " 2>&1";
  output.clear();
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return false;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = ::pclose(pipe);
  std::filesystem::remove(path);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string SciPyMissing() {
  std::string output;
  if (RunPython("import scipy.io\n", "", output)) return "";
  return "SciPy is missing for /usr/bin/python3 (scripts/install-deps installs "
         "python3-scipy): " +
         output;
}

std::string MakeSciPyFixtures(const std::string& folder) {
  static const char* const Script = R"PY(
import sys
import numpy as np
import scipy.io as sio
import scipy.sparse as sp
d = sys.argv[1]
A = np.array([[10 * r + c + 0.5 for c in range(3)] for r in range(4)])
I = np.array([[1, -2], [3, -4], [5, -6]], dtype=np.int16)
C = np.array([[1.5 + 2j, -3.25 - 1j]])
E = np.zeros((0, 3))
sio.savemat(d + '/v5.mat', {'A': A, 'I': I, 'C': C, 'S': 'hello', 'E': E}, format='5')
sio.savemat(d + '/v4.mat', {'A': A}, format='4')
sio.savemat(d + '/v5z.mat', {'A': A}, format='5', do_compression=True)
r = np.arange(100.0)
sio.savemat(d + '/pairs.mat', {'P': np.column_stack([r, 2 * r, 1000 + r, r / 2])})
N = np.array([[[100 * i + 10 * j + k for k in range(4)] for j in range(3)] for i in range(2)],
             dtype=float)
Z = np.empty((1, 2), dtype=object)
Z[0, 0] = np.array([[1.0]])
Z[0, 1] = 'x'
sio.savemat(d + '/kinds.mat', {
    'L': np.array([[True, False, True]]), 'N': N,
    'U': np.array([[1, 2], [3, 4]], dtype=np.uint64),
    'F': np.array([[0.25], [-8]], dtype=np.float32), 'Z': Z, 'T': {'a': 1.0},
    'Q': sp.csc_matrix(np.eye(3))}, format='5')
)PY";
  std::string output;
  return RunPython(Script, Quoted(folder), output) ? "" : output;
}

std::string SciPyLoad(const std::string& path) {
  static const char* const Script = R"PY(
import sys
import scipy.io as sio
m = sio.loadmat(sys.argv[1])
for name in sorted(k for k in m if not k.startswith('__')):
    a = m[name]
    values = ' '.join(repr(float(v)) for v in a.flatten(order='F'))
    print('%s %d x %d: %s' % (name, a.shape[0], a.shape[1], values))
)PY";
  std::string output;
  if (!RunPython(Script, Quoted(path), output)) return "error: " + output;
  return output;
}
