#include "file_dialogs.h"

#include "resource.h"

#include <fstream>
#include <sstream>

void AnswerFileDialogs(DecibarInstance& decibar, std::function<std::wstring(const CFileDialog& dialog)> choosePath)
{
    AfxTestSetModalAnswerer([&decibar, choosePath](const AfxModalRequest& request) {
        decibar.modal.requests.push_back(request);
        if (request.kind == AfxModalRequest::MessageBox)
            return decibar.modal.messageBoxAnswer;
        if (request.kind != AfxModalRequest::FileDialog) {
            // A download's wait box stays until the download closes it.
            return request.dialog && AfxTestTemplateId(request.dialog) == IDD_LOGSTATE ? 0 : static_cast<int>(IDOK);
        }
        auto* dialog = static_cast<CFileDialog*>(request.dialog);
        const std::wstring path = choosePath(*dialog);
        if (path.empty())
            return static_cast<int>(IDCANCEL);
        AfxTestSetFileDialogPath(dialog, path.c_str());
        return static_cast<int>(IDOK);
    });
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
