// The picture reader: the header's size, the whole picture, a reduced decode and the working copy.
#include "document/thedata.h"
#include "fuzz/fuzzinput.h"
#include "platform/imageio.h"

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    InitFuzzing(pArgc, pArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    // The name carries no format: the reader must tell it from the content.
    const QString strPath = WriteInput(pData, nSize, "pic");
    ReadPictureSize(strPath);
    ReadPicture(strPath);
    ReadPicture(strPath, QSize(17, 13));
    ReadWorkingCopy(strPath);
    return 0;
}
