// jotwell: the program's logging library. Hand it a zero-terminated UTF-16 line and it appends the
// line, time-stamped, to velomira.log in its log folder: "Jotwell/" beside the library when that folder
// (the program folder) is writable, otherwise "velomira/Jotwell/" in the user's XDG state folder
// ($XDG_STATE_HOME, by default ~/.local/state), as for an installed copy.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

__attribute__((visibility("default"))) void JotwellWriteLine(const char16_t* pszLine);

// The log folder as a zero-terminated UTF-8 path without a trailing "/", valid for the whole run.
__attribute__((visibility("default"))) const char* JotwellLogFolder(void);

#ifdef __cplusplus
}
#endif
