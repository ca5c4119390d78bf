// The Open, Save and Export commands of the editor, run by the window's toolbar and menu
// and by ot-table through a scripted port.
#pragma once

#include "frame/editor_state.h"
#include "frame/user_port.h"

namespace ot {

// Message captions and texts of the Open command (UTF-8).
inline constexpr std::string_view kOpenErrorCaption = "文件打开出错";
inline constexpr std::string_view kFileMissingMessage = "文件不存在";
inline constexpr std::string_view kBmdRefusedMessage =
    "不支持BMD文件类型或者文件被其他编辑器打开\n请关闭其他编辑器再打开!!!";
inline constexpr std::string_view kTypeRefusedMessage =
    "不支持文件类型或者文件被其他编辑器打开\n请关闭其他编辑器再打开!!!";
inline constexpr std::string_view kOpenFailedMessage = "文件打开出错";
inline constexpr std::string_view kOpenFailedCaption = "File Open Error";
// Caption of the message shown when a page has nothing that can be saved.
inline constexpr std::string_view kSaveRefusedCaption = "文件保存出错";

enum class OpenOutcome { Cancelled, Refused, Opened };
enum class SaveOutcome { NoTable, Cancelled, Refused, Saved };

// Lets the user choose a file, reads it, recognises it and runs the open step of its table.
// Reports every refusal through the port and never throws.
OpenOutcome OpenBtnClick(TEditorState& state, UserPort& port);

// Runs the save step of the active page's table and writes its bytes to the chosen file.
// Throws ConversionError or FileError; the target is then left as it was.
SaveOutcome SaveBtnClick(TEditorState& state, UserPort& port);

// Writes the active page's text list (gate and skill pages) or, on the other table pages,
// does exactly what Save does. Throws as Save does; a text list that cannot be written
// raises FileError "Cannot create file <path>".
SaveOutcome ExportBtnClick(TEditorState& state, UserPort& port);

// Largest file of any-size extension that Open reads (larger ones are refused unread). A
// message file of 8 MiB already holds some two million entries.
inline constexpr int64_t kMaxAnySizeFile = 8ll * 1024 * 1024;

}  // namespace ot
