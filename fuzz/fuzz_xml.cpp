// The XML reader every card file goes through: well-formedness, size and depth limits, parsing.
#include "fuzz/fuzzinput.h"
#include "templates/xmlparse.h"

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    InitFuzzing(pArgc, pArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    XMLParse parse;
    if (parse.Load(WriteInput(pData, nSize, "xml")))
        XMLParse::CountNodes(parse.m_pDoc->document_element());
    return 0;
}
