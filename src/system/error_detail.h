// What the next error report adds to its line on standard error: the path an operation tried.
#pragma once

namespace zuSystem {

// The file path (Shift-JIS, framework form) the failing operation tried; the next ReportError
// names it on standard error and forgets it.
void NoteTriedPath(const char* sjisPath);
// As NoteTriedPath for an entry of a pack file: "<pack>\<entry>"; nothing when no pack is named.
void NoteTriedEntry(const char* sjisPack, const char* entry);

}  // namespace zuSystem
