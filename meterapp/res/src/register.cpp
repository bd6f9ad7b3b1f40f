#include "decibar_resources_internal.h"

#include "resource.h"

#include <mutex>

const wchar_t kDecibarCompanyName[] = L"The Decibar project";
const wchar_t kDecibarProductName[] = L"Decibar";
const wchar_t kDecibarLegalNotice[] = L"(C) 2026 The Decibar project";
const wchar_t kDecibarVersion[] = L"3.7.1.0";

void RegisterDecibarResources()
{
    static std::once_flag once;
    std::call_once(once, [] {
        AfxRegisterStrings(kDecibarStrings, kDecibarStringCount);
        AfxRegisterMenu(IDR_MAINFRAME, kMainMenu, kMainMenuCount);
        AfxRegisterAccelerators(IDR_MAINFRAME, kMainAccelerators, kMainAcceleratorCount);
        AfxRegisterToolBar(IDR_MAINFRAME, kMainToolBar);
        AfxRegisterDialog(IDD_MYORVO_FORM, kMainForm);
        AfxRegisterDialog(IDD_ABOUT, kAboutDialog);
        AfxRegisterDialog(IDD_PORT, kPortDialog);
        AfxRegisterMenu(IDR_DATALOG_MENU, kDataLogMenu, kDataLogMenuCount);
        AfxRegisterDialog(IDD_DATALOGGER, kDataLogDialog);
        AfxRegisterDialog(IDD_LOGSTATE, kLogStateDialog);
        AfxRegisterDialog(IDD_RTSETUP, kRealTimeSetupDialog);
        AfxSetImageSource(&FindDecibarImage);
    });
}
