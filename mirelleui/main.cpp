#include "CDupPics.h"
#include "CExceptionHandler.h"

int main(int argc, char **argv)
{
    // First of all, so that a crash anywhere after this leaves a dump.
    static CExceptionHandler s_exceptionHandler(L"QRN_Pic_Carsh_{C28E4F61-5D93-47AA-8E02-B71F6A9C0D44}");
    s_exceptionHandler.installFilter();

    int iExitCode = 0;
    {
        CDupPics app;
        iExitCode = app.load(argc, argv);
    }
    return iExitCode;
}
