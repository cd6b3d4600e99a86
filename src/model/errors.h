// The exceptions of the core.
#pragma once

#include <stdexcept>
#include <string>

// Stops a run; carries the text shown to the user.
class EExperimentError : public std::runtime_error {
public:
  explicit EExperimentError(const std::string& message)
      : std::runtime_error(message), Message(message) {}
  const std::string& GetMessage() const { return Message; }

private:
  std::string Message;
};

// Ends the load of a document: bad header, bad version, damaged or short data.
class EReadError : public std::runtime_error {
public:
  explicit EReadError(const std::string& message) : std::runtime_error(message) {}
};

// A file could not be opened, created or written.
class EFileError : public std::runtime_error {
public:
  explicit EFileError(const std::string& message) : std::runtime_error(message) {}
};
