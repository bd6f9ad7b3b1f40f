#include "meterapp/decibar_app.h"

CDecibarApp theApp;

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
