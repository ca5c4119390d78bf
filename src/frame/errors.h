// Error types of the core. Every error carries the message the user sees (UTF-8).
#pragma once

#include <stdexcept>
#include <string>

namespace ot {

class OtError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A number cell that the integer conversion rejects. Col and Row locate the
// cell when a save step knows it (both -1 otherwise); Page is the page index.
class ConversionError : public OtError {
 public:
  ConversionError(const std::string& message, std::string cellText)
      : OtError(message), CellText(std::move(cellText)) {}
  std::string CellText;  // the rejected text as the cell holds it (code page 936)
  int Page = -1;
  int Col = -1;
  int Row = -1;
};

// A file that could not be read or written; the message names the file and the reason.
class FileError : public OtError {
 public:
  using OtError::OtError;
};

// An open step that refuses its file (a malformed message file, say). The Open
// command shows the message in its own message box.
class OpenRefused : public OtError {
 public:
  using OtError::OtError;
};

// Grid text for ot-table apply, or a cell that cannot be converted between code pages.
class DataError : public OtError {
 public:
  using OtError::OtError;
};

}  // namespace ot
