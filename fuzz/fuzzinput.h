// fuzz/: libFuzzer targets for the readers of files a user can be handed. Each target's input is
// written to a file of its own (in memory where there is a tmpfs), because the readers take paths,
// as the program hands them.
#pragma once

#include <cstddef>
#include <cstdint>

#include <QString>

class CardDocument;

// Makes the application object the readers need (offscreen, no display) once per process.
void InitFuzzing(int* pArgc, char*** pArgv);

// Writes the input to this process's scratch file with the given extension and returns its path.
QString WriteInput(const uint8_t* pData, size_t nSize, const char* pszExtension);

// Holds the working copies of the card's pictures for the rest of the run. The pictures are the
// template library's, the same for every input: held, they are decoded once, not for every card.
void KeepPictures(const CardDocument& doc);
