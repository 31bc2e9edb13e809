// The project reader, and the card it makes laid out on a canvas with its display images, as the
// program opens a project. Resources resolve against the fuzzer's program folder.
#include "document/carddocument.h"
#include "document/cardfit.h"
#include "fuzz/fuzzinput.h"
#include "templates/projectfile.h"

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    InitFuzzing(pArgc, pArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    ProjectCard card;
    if (!ReadProjectFile(WriteInput(pData, nSize, "plk"), card, nullptr))
        return 0;
    CardDocument doc;
    doc.m_szClient = QSize(400, 300);
    for (auto& pObject : card.vecObjects)
        doc.AddObject(std::move(pObject), 0);
    if (FitProjectObjects(doc, card.strBackground, card.nSavedWidth))
        doc.RebuildImages();
    KeepPictures(doc);
    return 0;
}
