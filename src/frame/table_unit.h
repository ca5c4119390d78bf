// The interface that every table format implements. A unit owns its record images and works
// on the grid and edit boxes of its page in the editor state; it never touches files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ot {

class TEditorState;

struct Layout {
  std::string_view Name;  // client versions, as the recognition table names them (UTF-8)
  int32_t Size;           // file size in bytes; 0 for the message file (any size)
  int32_t Records;        // records of the layout; 0 for the message file (as read)
};

// What Export does on a page.
enum class ExportKind { Nothing, TableFile, TextList };

class TableUnit {
 public:
  virtual ~TableUnit() = default;

  virtual int Page() const = 0;
  virtual std::string_view FileName() const = 0;  // "Gate.bmd"
  virtual const std::vector<Layout>& Layouts() const = 0;

  // Titles and start notes of the page, set when the window is created.
  virtual void FormCreate(TEditorState& state) = 0;
  // The open step: descramble the file image in place, fill record image, grid and edit
  // boxes, make the page active. Layout indexes Layouts(). May throw OpenRefused.
  virtual void Open(TEditorState& state, std::span<uint8_t> image, int layout) = 0;
  // The save step: the bytes to write, or nullopt when no writable layout is shown.
  // Throws ConversionError for a number cell that the integer conversion rejects.
  virtual std::optional<std::string> Save(TEditorState& state) = 0;
  // Why Save returned nothing (UTF-8), for the message the Save command shows.
  virtual std::string NotSavedMessage(const TEditorState& state) const;

  // Export: by default the same bytes as Save; the gate and skill pages write a text list.
  virtual ExportKind ExportKindOf(const TEditorState& state) const;
  // The text list, lines each ended by CR LF (code page 936 bytes).
  virtual std::string ExportTextList(TEditorState& state);

  // The layout the page shows now (what Save would write), or -1 when none.
  virtual int CurrentLayout(const TEditorState& state) const = 0;
  // Names of the edit boxes the open step writes.
  virtual std::vector<std::string_view> OpenEditBoxes() const = 0;
  // Whether the number of data rows may change (the message file); else fixed per layout.
  virtual bool VariableRows() const { return false; }
  // The bytes of the record shown in a data row (from the record image), when known.
  virtual std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                              int row) const;
  // Columns that hold numbers (the integer conversion reads them on Save), for a layout.
  virtual std::vector<int> NumberColumns(const TEditorState& state) const = 0;
};

// The lines of a text list, each followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace ot
