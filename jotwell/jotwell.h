// jotwell: the program's logging library. One entry point: hand it a zero-terminated UTF-16 line and
// it appends the line, time-stamped, to a log file in the folder "Jotwell/" beside the library.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

__attribute__((visibility("default"))) void JotwellWriteLine(const char16_t* pszLine);

#ifdef __cplusplus
}
#endif
