// Line surgery on a loaded `file`: the editor changes a text model in
// place, so that every reader of the file (the difference engine, the
// merge) sees the edits.  A changed line's text moves into memory; lines
// never touched stay in the file's cache.  Every change marks the file
// modified.
#pragma once

#include <string>
#include <string_view>

struct file;
struct line;

// The line's text; empty when it cannot be read.
std::string edit_LineText(file* f, line* l);
// Replaces the text (no line terminator in `text`).
void edit_SetLineText(file* f, line* l, std::string_view text);
// A new line holding `text` before `before` (null: at the end).
line* edit_InsertLine(file* f, line* before, std::string_view text);
// Unlinks the line from the file and frees it.
void edit_RemoveLine(file* f, line* l);

// Writes every line, each ended by the file's line terminator (CR LF when
// it is saved that way; the last line without one when it had none), to
// `name` through a temporary file beside it, so that a failed write leaves
// the old contents.  False with `error` set ("Can't write <name>: <why>").
bool edit_WriteFile(file* f, const char* name, std::string* error);
