// The template loader, and the card it makes laid out on a canvas with its display images, as the
// program loads a template. Resources resolve against the fuzzer's program folder.
#include "document/carddocument.h"
#include "document/cardfit.h"
#include "fuzz/fuzzinput.h"
#include "templates/templateloader.h"

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    InitFuzzing(pArgc, pArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    TemplateCard card;
    if (!ReadTemplateFile(WriteInput(pData, nSize, "xml"), card, nullptr))
        return 0;
    CardDocument doc;
    doc.m_szClient = QSize(400, 300);
    for (auto& pObject : card.vecObjects)
        doc.AddObject(std::move(pObject), 0);
    if (FitTemplateObjects(doc, card.strBackground))
        doc.RebuildImages();
    KeepPictures(doc);
    return 0;
}
