#include "meterapp/file_commands.h"

#include "meterfiles/data_file.h"
#include "meterfiles/file_names.h"
#include "meterfiles/file_store.h"

#include <afx/commdlg.h>

#include <ctime>

namespace {

const wchar_t kDataFilter[] = L"Data File(*.txt)|*.txt||";
const wchar_t kExportFilter[] = L"Data File(*.xls)|*.xls||";
const DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

CString NameForNow(const wchar_t* extension)
{
    std::tm local {};
    CTime(std::time(nullptr)).GetLocalTm(&local);
    return meterfiles::DefaultFileName(local, extension);
}

bool AskSavePath(const wchar_t* extension, const wchar_t* filter, CString* path)
{
    CFileDialog dialog(FALSE, extension, NameForNow(extension), kDialogFlags, filter, nullptr);
    if (dialog.DoModal() != IDOK)
        return false;
    *path = dialog.GetPathName();
    return true;
}

ESaveOutcome Write(CWnd* owner, const CString& path, const std::string& bytes)
{
    CString problem;
    if (meterfiles::ReplaceFileContents(path, bytes, &problem))
        return ESaveOutcome::Written;
    owner->MessageBox(L"The file was not saved: " + problem, L"ERROR", MB_OK | MB_ICONERROR);
    return ESaveOutcome::Failed;
}

}  // namespace

ESaveOutcome SaveDataFileAs(CWnd* owner, const CObArray& records)
{
    if (records.GetSize() == 0)
        return ESaveOutcome::NothingToSave;
    CString path;
    if (!AskSavePath(L"txt", kDataFilter, &path))
        return ESaveOutcome::Cancelled;
    return Write(owner, path, meterfiles::FormatDataFile(records));
}

ESaveOutcome ExportTableAs(CWnd* owner, const CObArray& records, const SStatInfo& stat,
    meterfiles::EExportCopy copy)
{
    if (records.GetSize() == 0)
        return ESaveOutcome::NothingToSave;
    CString path;
    if (!AskSavePath(L"xls", kExportFilter, &path))
        return ESaveOutcome::Cancelled;
    return Write(owner, path, meterfiles::FormatExportTable(records, stat, copy));
}

bool ReadDataFileChosen(CWnd* owner, CObArray& read)
{
    CFileDialog dialog(TRUE, L"txt", L"*.txt", kDialogFlags, kDataFilter, nullptr);
    if (dialog.DoModal() != IDOK)
        return false;

    CWaitCursor wait;
    CString problem;
    const meterfiles::EDataFileRead data = meterfiles::ReadDataFile(dialog.GetPathName(), read, &problem);
    switch (data) {
    case meterfiles::EDataFileRead::Read:
        return true;
    case meterfiles::EDataFileRead::WrongFormat:
        owner->MessageBox(L"Data Format is wrong!", L"ERROR", MB_OK);
        return false;
    case meterfiles::EDataFileRead::TooLarge:
        owner->MessageBox(L"The file is too large for a data file.", L"ERROR", MB_OK | MB_ICONERROR);
        return false;
    case meterfiles::EDataFileRead::Failed:
        owner->MessageBox(L"The file was not opened: " + problem, L"ERROR", MB_OK | MB_ICONERROR);
        return false;
    }
    return false;
}

void ReplaceLoggedRecords(CObArray& read, CObArray* shown)
{
    if (shown)
        shown->RemoveAll();
    DeleteAllRecords(g_pLogRecords);
    if (!g_pLogRecords) {
        DeleteAllRecords(&read);
        return;
    }
    g_pLogRecords->Append(read);
    read.RemoveAll();
}
