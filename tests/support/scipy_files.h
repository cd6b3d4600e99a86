// MAT files made and read by SciPy, so that Qorv's MAT files are checked against
// another tool. Debian's own /usr/bin/python3 runs the scripts (not another Python
// first on the PATH); scripts/install-deps installs python3-scipy for it. A missing
// SciPy fails the test that needs it rather than skipping it.
#pragma once

#include <string>

// Runs the Python script with the arguments; answers its standard output and error,
// and whether it ended with status 0.
bool RunPython(const std::string& script, const std::string& arguments, std::string& output);

// Empty when /usr/bin/python3 imports scipy.io; else what to do about it.
std::string SciPyMissing();

// Writes the fixture files into folder (all made with scipy.io.savemat):
//  v5.mat   A 4x3 double (A(r,c) = 10 r + c + 0.5), I 3x2 int16 (1 -2; 3 -4; 5 -6),
//           C 1x2 complex (1.5+2i, -3.25-1i), S char "hello", E 0x3 double;
//  v4.mat, v5z.mat (compressed): A as above;
//  pairs.mat P 100x4: P(r,0) = r, P(r,1) = 2r, P(r,2) = 1000 + r, P(r,3) = r / 2;
//  kinds.mat L 1x3 logical (1 0 1), N 2x3x4 double (N(i,j,k) = 100 i + 10 j + k), U
//           2x2 uint64 (1 2; 3 4), F 2x1 single (0.25 -8), Z cell, T struct, Q sparse.
// Answers the script's output when it failed, else "".
std::string MakeSciPyFixtures(const std::string& folder);

// loadmat's view of a file: one line per array, "name rows x columns: v v v ...", values
// in column order with repr() of doubles; or the error.
std::string SciPyLoad(const std::string& path);
